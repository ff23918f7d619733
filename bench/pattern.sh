#!/usr/bin/env bash
# Builds and runs the PatternObject benchmark; each figure is printed beside its
# reference, measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target pattern_bench >/dev/null
./build/bench/pattern_bench
