#!/usr/bin/env bash
# Prints the line and branch coverage of the program's code (not the tests, benchmarks or
# fuzz targets) from a --coverage build that has run the suite, and the test-to-code line ratio.
#   tools/coverage_report.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-coverage}
gcovr --root . --object-directory "$build" \
  --filter '(platform|globe|scenario|editor|tools)/' --exclude '.*/tests/.*' \
  --exclude-unreachable-branches --exclude-throw-branches -j 2 --print-summary -o "$build/coverage.txt"
count() { xargs -r cat | wc -l; }
program=$(git ls-files platform globe scenario editor tools | grep -v '/tests/' |
  grep -E '\.(cpp|h|c)$' | count)
tests=$(git ls-files tests 'tools/*/tests' |
  grep -v -E '^tests/data/|/seeds/|/dict/|^tests/fuzz/maps/' | grep -E '\.(cpp|h|c|py|sh)$' | count)
awk -v p="$program" -v t="$tests" \
  'BEGIN { printf "lines: program %d, tests %d, ratio %.2f\n", p, t, t / p }'
