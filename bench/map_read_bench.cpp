// Opening and reading a large real layer: a shapefile opened for the first time (the reader
// walks the whole file to build its index), the same file opened again with its index file,
// and the same layer as LYR. Each iteration reads every object and touches every coordinate.
// Data: CORVALIS_BENCH_DATA (default ../shared/data/naturalearth beside the source tree).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/TouchEveryPoint.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/LYRReader.h"
#include "globe/data/SHPReader.h"
#include "globe/view/GlobeClasses.h"

namespace fs = std::filesystem;
using namespace globe;

namespace {

fs::path Work() {
  static const fs::path dir = [] {
    const char* env = std::getenv("CORVALIS_BENCH_DATA");
    const fs::path source = env ? fs::path(env) : fs::path(CORVALIS_SOURCE_DIR) / ".." / "shared" / "data" / "naturalearth";
    fs::path work = fs::temp_directory_path() / "corvalis-map-read-bench";
    fs::create_directories(work);
    for (const char* ext : {".shp", ".shx", ".dbf"})
      fs::copy_file(source / (std::string("ne_10m_land") + ext), work / (std::string("land") + ext),
                    fs::copy_options::overwrite_existing);
    RegisterGlobeClasses();
    TCustomVoduz4 globe;
    globe.SetSaveMetaDataLocation(smdDiscard);
    auto* shp = globe.NewObjectSource<TGlobeSHPReader>();
    shp->SetFileName((work / "land.shp").string());
    shp->SetActive(true);
    SaveLYRFile(*shp, (work / "land.lyr").string());
    return work;
  }();
  return dir;
}

template <class Reader>
void OpenAndRead(benchmark::State& state, const char* file, TSaveMetaDataLocation location, bool removeIndex) {
  const fs::path path = Work() / file;
  int64_t points = 0;
  for (auto _ : state) {
    if (removeIndex) {
      state.PauseTiming();
      fs::remove(path.string() + ".md");
      state.ResumeTiming();
    }
    TCustomVoduz4 globe;
    globe.SetSaveMetaDataLocation(location);
    auto* reader = globe.NewObjectSource<Reader>();
    reader->SetFileName(path.string());
    reader->SetActive(true);
    const int64_t sum = bench::TouchEveryPoint(*reader).Checksum;
    benchmark::DoNotOptimize(sum);
    points = sum;
  }
  benchmark::DoNotOptimize(points);
}

void BM_ShapefileFirstOpen(benchmark::State& s) { OpenAndRead<TGlobeSHPReader>(s, "land.shp", smdWithDataFile, true); }
void BM_ShapefileWithIndexFile(benchmark::State& s) { OpenAndRead<TGlobeSHPReader>(s, "land.shp", smdWithDataFile, false); }
void BM_LYRFile(benchmark::State& s) { OpenAndRead<TGlobeLYRReader>(s, "land.lyr", smdWithDataFile, false); }

}  // namespace

BENCHMARK(BM_ShapefileFirstOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShapefileWithIndexFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LYRFile)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
