#!/usr/bin/env bash
# Local-book benchmarks: each figure beside a reference tool measured in the same run.
#   1. `mozhou --chapters` on a 100 MB GBK book against ripgrep counting the same
#      heading pattern over the same bytes (target: at most 0.5x).
#   2. The same book as 150 MB of UTF-8 against iconv converting it to GBK (target: at most 1.0x).
#   3. Peak memory of 1 against the file size (target: at most 2.5x).
#   4. The reader window loading a 100 MB book: the longest event-loop gap (target:
#      at most 50 ms) and the time to show its last chapter (target: at most 16 ms).
# Usage: bench/local.sh [build-dir]   (builds the mozhou target there first)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
corpus=${MOZHOU_CORPUS_DIR:-$repo/../shared/corpus}
runs=${RUNS:-5}

cmake --build "$build" --target mozhou reader_window_bench -j2 >/dev/null
mozhou=$build/src/app/mozhou
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Chapters of about 20 KB in GBK, each with its own heading "第N章".
generated_book() {
    awk -v chapters="$1" 'BEGIN {
        for (n = 1; n <= chapters; n++) {
            printf "第%d章 夜雨\r\n", n
            for (k = 0; k < 250; k++)
                printf "　　城外的河水涨了，他撑着小船回到岸边，数着对岸的灯火，心里想着明日要走的路。\r\n"
        }
    }'
}

# Repeats a UTF-8 source until the file reaches the given size in megabytes.
fill() {
    local source=$1 target=$2 megabytes=$3
    : >"$target"
    while [ "$(stat -c %s "$target")" -lt $((megabytes * 1000000)) ]; do
        cat "$source" >>"$target"
    done
}

if [ -f "$corpus/raw/hongloumeng.utf8.crlf.txt" ]; then
    cp "$corpus/raw/hongloumeng.utf8.crlf.txt" "$work/source.txt"
    echo "input: 红楼梦 from the corpus, repeated"
else
    generated_book 50 >"$work/source.txt"
    echo "input: generated text with a heading every ~20 KB (corpus absent)"
fi
iconv -f utf-8 -t gbk "$work/source.txt" >"$work/source.gbk.txt"
fill "$work/source.gbk.txt" "$work/book.gbk.txt" 100
fill "$work/source.txt" "$work/book.utf8.txt" 150

# The heading pattern in GBK byte escapes, bytes not characters.
pattern='(?i-u)\xB5\xDA[^\xD5\xC2]{1,6}\xD5\xC2[^\n]+|\xB5\xDA[^\xBB\xD8]{1,6}\xBB\xD8[^\n]+|\xB5\xDA[^\xBE\xED]{1,6}\xBE\xED[^\n]+|\xB5\xDA[^\xBD\xDA]{1,6}\xBD\xDA[^\n]+|\xB5\xDA[^\xBC\xAF]{1,6}\xBC\xAF[^\n]+|\xB5\xDA[^\xB2\xBF]{1,6}\xB2\xBF[^\n]+|\b(\xD2\xBB|\xB6\xFE|\xC8\xFD|\xCB\xC4|\xCE\xE5|\xC1\xF9|\xC6\xDF|\xB0\xCB|\xBE\xC5|\xCA\xAE|\xC1\xE3)+\xA1\xA2[^\n]+'

# Best wall time in seconds over $runs runs of a command (stdout discarded).
best_time() {
    local best=""
    for _ in $(seq 1 "$runs"); do
        local t
        /usr/bin/time -f '%e' -o "$work/time" "$@" >/dev/null 2>/dev/null || true
        t=$(tail -1 "$work/time")
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$t; fi
    done
    echo "$best"
}

peak_kb() {
    /usr/bin/time -f '%M' -o "$work/memory" "$@" >/dev/null 2>/dev/null || true
    tail -1 "$work/memory"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

gbk_mb=$(awk -v s="$(stat -c %s "$work/book.gbk.txt")" 'BEGIN{printf "%.0f", s/1e6}')
utf8_mb=$(awk -v s="$(stat -c %s "$work/book.utf8.txt")" 'BEGIN{printf "%.0f", s/1e6}')
rows=$("$mozhou" --chapters "$work/book.gbk.txt" --encoding ansi | wc -l)
echo "chapter rows found: $rows; ripgrep lines: $(rg -a -c "$pattern" "$work/book.gbk.txt")"

t_mozhou=$(best_time "$mozhou" --chapters "$work/book.gbk.txt" --encoding ansi)
t_rg=$(best_time rg -a -c "$pattern" "$work/book.gbk.txt")
echo "1. chapters, ${gbk_mb} MB GBK:  mozhou ${t_mozhou} s   ripgrep ${t_rg} s   ratio $(ratio "$t_mozhou" "$t_rg") (target <= 0.5)"

t_utf8=$(best_time "$mozhou" --chapters "$work/book.utf8.txt" --encoding utf8)
t_iconv=$(best_time iconv -f utf-8 -t gbk "$work/book.utf8.txt")
echo "2. chapters, ${utf8_mb} MB UTF-8: mozhou ${t_utf8} s   iconv ${t_iconv} s   ratio $(ratio "$t_utf8" "$t_iconv") (target <= 1.0)"

kb=$(peak_kb "$mozhou" --chapters "$work/book.gbk.txt" --encoding ansi)
file_kb=$(($(stat -c %s "$work/book.gbk.txt") / 1024))
echo "3. peak memory of 1: ${kb} KB   file ${file_kb} KB   ratio $(ratio "$kb" "$file_kb") (target <= 2.5)"

# 4. The reader window (offscreen) on a book whose headings are all different, so
#    that its last chapter is the last ~20 KB rather than everything after the
#    first copy of a repeated heading.
generated_book 5000 | iconv -f utf-8 -t gbk >"$work/unique.gbk.txt"
"$build/bench/reader_window_bench" "$work/unique.gbk.txt" 2>/dev/null
