#!/usr/bin/env bash
# Builds the fuzz programs (clang, libFuzzer, ASan + UBSan, in build-fuzz/) and runs each for
# SECONDS, then prints per target the executions and the findings (crash, leak, timeout and
# out-of-memory inputs). Exits non-zero when a target found something or could not run.
#
#   tests/fuzz/run.sh SECONDS [TARGET...]     targets: label_value scenario lint scenario_chain
#                                             case_lines environment lyr shp_dbf mif metadata
#                                             texture picture (default: all)
#   FUZZ_OUT=DIR   where logs, findings and the growing corpora go (default build-fuzz/fuzz-out)
#   FUZZ_JOBS=N    build jobs (default 2)
#
# A finding is kept as DIR/findings/TARGET/crash-... (the input); rerun it with
#   build-fuzz/tests/fuzz/fuzz_TARGET DIR/findings/TARGET/crash-...
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tests/fuzz
seconds=${1:?usage: tests/fuzz/run.sh SECONDS [TARGET...]}
shift
[[ $seconds =~ ^[0-9]+$ && $seconds -gt 0 ]] || { echo "SECONDS must be a whole number above 0"; exit 2; }
all=(label_value scenario lint scenario_chain case_lines environment lyr shp_dbf mif metadata texture picture)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
build=$root/build-fuzz
out=${FUZZ_OUT:-$build/fuzz-out}

"$root/tools/deps.sh" clang libclang-rt-dev
mkdir -p "$build"
exec 8>"$build/.fuzz-build.lock"
flock 8  # runs started side by side build one at a time
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCORVALIS_FUZZ=ON -DCORVALIS_BUILD_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"${FUZZ_JOBS:-2}" --target "${targets[@]/#/fuzz_}" >"$build/fuzz-build.log" 2>&1 ||
  { tail -30 "$build/fuzz-build.log"; echo "fuzz build failed"; exit 2; }
flock -u 8 && exec 8>&-

# Seeds: small pieces of the project's data, made again on every run.
pack_length() {  # 32-bit little-endian length of file $1, then $1, then $2
  local n; n=$(stat -c %s "$1")
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((n & 255)) $((n >> 8 & 255)) $((n >> 16 & 255)) $((n >> 24 & 255)))"
  cat "$1" "$2"
}
make_seeds() {
  local t=$1 dir=$2 maps=$here/maps i=0
  rm -rf "$dir" && mkdir -p "$dir"
  case $t in
    label_value)
      cat "$root"/data/Scenarios/*/*.cfg "$root"/tests/data/scenarios/*/*.[cC][fF][gG] | tr -d '\r' |
        grep '=' | sort -u | awk 'NR <= 150' | while IFS= read -r line; do
          i=$((i + 1)); printf '%s\n%s' "${line%%=*}" "$line" >"$dir/line$i"
        done ;;
    scenario | lint)
      for s in "$root"/data/Scenarios/* "$root"/tests/data/scenarios/*; do
        for f in "$s"/*; do
          [ -f "$f" ] && case $f in *.env) ;; *) printf '=== %s\n' "$(basename "$f")"; cat "$f" ;; esac
        done >"$dir/$(basename "$s")"
      done ;;
    scenario_chain)
      # Each scenario with the small maps as its environment, the maps beside its files.
      for s in "$root"/data/Scenarios/* "$root"/tests/data/scenarios/*; do
        [ -d "$s" ] || continue
        {
          for f in "$s"/*; do
            [ -f "$f" ] && case $f in *.env) ;; *) printf '=== %s\n' "$(basename "$f")"; cat "$f" ;; esac
          done
          info=$(cd "$s" && ls | grep -i -m1 -E '^(scenario|campaign)info\.cfg$') || info=ScenarioInfo.cfg
          printf '\n=== %s\nEnvironmentFile=Maps.env\r\n' "$info"
          printf '\n=== Maps.env\n'; cat "$here/seeds/Maps.env"
          for f in Land.lyr Coast.shp Coast.dbf Countries.mif Countries.mid Texture.bmp Symbol.jpg; do
            printf '\n=== %s\n' "$f"; cat "$maps/$f"
          done
        } >"$dir/$(basename "$s")"
      done ;;
    case_lines)
      for f in "$root"/data/Scenarios/*/*[sS]hips.cfg "$root"/data/Scenarios/*/*[mM]issions.cfg \
               "$root"/tests/data/scenarios/*/*[sS][hH][iI][pP][sS].[cC][fF][gG] \
               "$root"/tests/data/scenarios/*/*[mM][iI][sS][sS][iI][oO][nN][sS].[cC][fF][gG]; do
        [ -f "$f" ] && i=$((i + 1)) && cp "$f" "$dir/side$i"
      done ;;
    metadata)  # the meta-data files the readers write for the small maps
      FUZZ_MAKE_SEEDS="$dir" "$build/tests/fuzz/fuzz_metadata" -runs=0 >/dev/null 2>&1 ;;
    environment)
      cp "$here"/seeds/*.env "$dir/"
      cp "$root/data/Data/World.env" "$dir/World.env"
      cp "$root/tests/data/scenarios/windows_campaign/Maps/small.env" "$dir/small.env" ;;
    lyr) cp "$maps/Land.lyr" "$dir/" ;;
    shp_dbf) pack_length "$maps/Coast.shp" "$maps/Coast.dbf" >"$dir/Coast" ;;
    mif) { cat "$maps/Countries.mif"; printf '=== MID\n'; cat "$maps/Countries.mid"; } >"$dir/Countries" ;;
    texture) cp "$maps/Texture.bmp" "$dir/" ;;
    picture) cp "$maps"/*.jpg "$maps/Texture.bmp" "$dir/" ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$out"
status=0
printf '%-12s %12s %s\n' target executions findings
for t in "${targets[@]}"; do
  program=$build/tests/fuzz/fuzz_$t
  seeds=$out/seeds/$t corpus=$out/corpus/$t findings=$out/findings/$t log=$out/$t.log
  make_seeds "$t" "$seeds"
  mkdir -p "$corpus" && rm -rf "$findings" && mkdir -p "$findings"
  rc=0
  "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$here/dict/$t.dict" -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1 || rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  found=$(find "$findings" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | sort)
  if [ -n "$found" ] || [ $rc -ne 0 ]; then
    status=1
    printf '%-12s %12s %s\n' "$t" "${execs:-?}" "FOUND (exit $rc, log $log)"
    [ -n "$found" ] && printf '    %s\n' $found
    grep -m3 -E 'ERROR: |runtime error|SUMMARY' "$log" | sed 's/^/    /' || true
  else
    printf '%-12s %12s %s\n' "$t" "${execs:-?}" none
  fi
done
exit $status
