#!/usr/bin/env bash
# Installs what is missing, builds and launches 墨舟 with any arguments given.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bash "$here/deps.sh"
bash "$here/build.sh"
exec "$here/../build/src/app/mozhou" "$@"
