#!/usr/bin/env bash
# Builds the Debian package of a build folder, unpacks it into an empty folder with dpkg -x and runs
# the unpacked programs there: vrkcheck --json on the unpacked Crete demo (its map data found in
# ../share/corvalis beside bin/) must load without a message; the other tools answer --version.
#   packaging/package-test.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
log=$(mktemp)
cmake --build "$build" --target package -j2 >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
rm -f "$log"
deb=$(ls -t "$build"/corvalis-*.deb | head -n 1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
bin=$root/usr/bin
for program in vrkedit maprender lyrconvert vrkcheck; do
  [ -x "$bin/$program" ] || { echo "package-test: $program missing from $deb"; exit 1; }
done
for program in maprender lyrconvert vrkcheck; do
  "$bin/$program" --version | grep -q "^$program [0-9]" || { echo "package-test: $program --version"; exit 1; }
done
# From another folder, so that nothing of the build tree is found by accident.
cd "$root"
json=$("$bin/vrkcheck" --json "$root/usr/share/corvalis/Scenarios/Crete1941" 2>"$root/stderr") || {
  echo "package-test: unpacked vrkcheck failed:"; cat "$root/stderr"; echo "$json" | head -c 600; exit 1; }
if [ -s "$root/stderr" ]; then echo "package-test: vrkcheck wrote:"; cat "$root/stderr"; exit 1; fi
case "$json" in
  '{"kind":"scenario",'*'"messages":[],'*'"class":"TGlobeLYRReader","objects":'[1-9]*) ;;
  *) echo "package-test: unexpected vrkcheck output:"; echo "$json" | head -c 600; exit 1 ;;
esac
echo "package-test: $(basename "$deb") unpacked; vrkcheck --json loads the Crete demo without a message"
