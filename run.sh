#!/usr/bin/env bash
# Installs what is missing, builds, starts the editor.
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j2 --target vrkedit
exec ./build/editor/vrkedit "$@"
