#!/usr/bin/env bash
# Benchmarks side by side with GDAL/OGR and shapelib: builds in Release (build-release), builds
# the peer programs, prepares the data in bench-data/ (the 10m land layer and a generated
# 10-million-point layer), runs every benchmark several times and prints one table, also
# written to docs/PERFORMANCE.md. Usage: bench/run.sh [--quick] (--quick: fewer runs).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
./tools/deps.sh gdal-bin libgdal-dev libshp-dev python3 imagemagick

export CCACHE_BASEDIR=$(dirname "$root")
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j2 --target maprender mapread densifyland renderheap scenarioopen frame_bench timeline_bench scenario_frame_bench lyrconvert vrkcheck >/dev/null

# The peers: the same reading work with shapelib and with OGR (not part of the normal build).
peers=build-release/bench-peers
mkdir -p "$peers"
[ "$peers/shp_read_shapelib" -nt bench/peers/shp_read_shapelib.c ] ||
  gcc -O2 bench/peers/shp_read_shapelib.c -o "$peers/shp_read_shapelib" -lshp
[ "$peers/shp_read_ogr" -nt bench/peers/shp_read_ogr.cpp ] ||
  g++ -O2 -std=c++17 bench/peers/shp_read_ogr.cpp -o "$peers/shp_read_ogr" $(pkg-config --cflags --libs gdal)

# Data: ne_10m_land as shapefile and LYR, the large layer generated once.
data=bench-data
source_dir=${CORVALIS_NATURAL_EARTH:-}
for candidate in "$root/../shared/data/naturalearth" "$root/../../shared/data/naturalearth"; do
  [ -n "$source_dir" ] || { [ -f "$candidate/ne_10m_land.shp" ] && source_dir=$candidate; } || true
done
[ -n "$source_dir" ] || { echo "ne_10m_land.shp not found: set CORVALIS_NATURAL_EARTH"; exit 1; }
mkdir -p "$data"
for ext in shp shx dbf; do cp -u "$source_dir/ne_10m_land.$ext" "$data/land.$ext"; done
cp -u data/Data/Land.lyr "$data/land.lyr"
if [ ! -f "$data/large.lyr" ] || [ ! -f "$data/large.shp" ]; then
  echo "Generating the 10-million-point layer (a few minutes)..."
  build-release/bench/densifyland "$data/land.shp" "$data/large"
fi
# One environment per layer: the world map's land layer over that file.
for layer in land.shp land.lyr large.shp large.lyr; do
  case $layer in *.shp) reader=TGlobeSHPReader ;; *) reader=TGlobeLYRReader ;; esac
  sed -n '1,12p' data/Data/World.env |
    sed "s/TGlobeLYRReader\" Filename=\"Land.lyr\"/$reader\" Filename=\"$layer\"/" >"$data/${layer/./-}.env"
  printf ' </LayerStore>\n</TGlobe>\n' >>"$data/${layer/./-}.env"
done

# Scenarios whose map draws the 10-million-point layer (bench-data/LargeScenario, also for looking
# at it in the editor: File > Open scenario) and the 409k-point one (LandScenario), for the row of
# the first use.
for pair in "LargeScenario:$root/$data/large.lyr" "LandScenario:$root/data/Data/Land.lyr"; do
  scenario=$data/${pair%%:*}
  mkdir -p "$scenario"
  cp data/Scenarios/Crete1941/*.cfg "$scenario/"
  sed -e "s|Filename=\"Land.lyr\"|Filename=\"${pair#*:}\"|" \
      -e "s|Filename=\"Countries.lyr\"|Filename=\"$root/data/Data/Countries.lyr\"|" \
      data/Scenarios/Crete1941/Mediterranean.env >"$scenario/Mediterranean.env"
done

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
python3 bench/run_benchmarks.py --build build-release --data "$data" --peers "$peers" --report docs/PERFORMANCE.md "$@"
