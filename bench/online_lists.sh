#!/usr/bin/env bash
# Click to the last row against the fetch alone, from the site simulator:
# a 1 000-row search result and a 10 000-chapter index.
# Usage: bench/online_lists.sh [runs]   (median of runs, default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target online_lists_bench >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" build/bench/online_lists_bench "${1:-9}"
