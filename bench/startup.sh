#!/usr/bin/env bash
# Start-up with a 10 000-row bookshelf against an empty one, in the same run.
# Usage: bench/startup.sh [runs]   (median of runs, default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target startup_bench >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" build/bench/startup_bench "${1:-15}"
