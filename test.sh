#!/usr/bin/env bash
# Installs what is missing, builds, runs every test.
#   ./test.sh              normal build in build/
#   ./test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
# The normal build also makes the Debian package and runs the unpacked programs
# (packaging/package-test.sh).
set -euo pipefail
cd "$(dirname "$0")"
./tools/deps.sh
build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  flags+=(-DCORVALIS_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure -j2)
if [ "$build" = build ]; then
  packaging/package-test.sh "$build"
fi
