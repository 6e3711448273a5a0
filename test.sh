#!/usr/bin/env bash
# Installs what is missing, builds, runs every test.
#   ./test.sh              normal build in build/
#   ./test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
#   ./test.sh --coverage   gcc --coverage build in build-coverage/, then the line and branch
#                          coverage of the program's code (gcovr) and the test-to-code line ratio
# The normal build also makes the Debian package and runs the unpacked programs
# (packaging/package-test.sh).
set -euo pipefail
cd "$(dirname "$0")"
build=build
flags=()
extra_packages=()
case "${1:-}" in
  --sanitize) build=build-sanitize; flags+=(-DCORVALIS_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  --coverage) build=build-coverage; flags+=(-DCORVALIS_COVERAGE=ON -DCMAKE_BUILD_TYPE=Debug)
              extra_packages+=(gcovr)
              # gcov finds the sources by the absolute paths the compiler saw: no path rewriting.
              export CCACHE_BASEDIR= ;;
esac
./tools/deps.sh "${extra_packages[@]}"
cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
if [ "$build" = build-coverage ]; then
  find "$build" -name '*.gcda' -delete
fi
(cd "$build" && ctest --output-on-failure -j2)
if [ "$build" = build-coverage ]; then
  tools/coverage_report.sh "$build"
fi
if [ "$build" = build ]; then
  packaging/package-test.sh "$build"
fi
