#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (windows on Qt's offscreen platform).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bash "$here/deps.sh"
bash "$here/build.sh"
cd "$here/../build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
