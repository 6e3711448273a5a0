// mapread FILE [--index] [--open-only]: opens a LYR, SHP or MIF file with our readers, builds
// every object and touches every coordinate; prints the totals and the in-process times of the
// opening (activation, until the object count is known) and of the reading, in milliseconds.
// --index keeps the meta-data file beside the data file (written on the first opening, used on
// the next); without it no index file is read or left behind.

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "bench/support/TouchEveryPoint.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeFileReader.h"
#include "tools/common/LayerHeap.h"
#include "tools/lyrconvert/LyrConvert.h"

int main(int argc, char** argv) {
  toolcli::PrepareLayerHeap();  // as lyrconvert reads
  std::string file;
  bool index = false, openOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--index") index = true;
    else if (arg == "--open-only") openOnly = true;
    else if (file.empty() && arg.rfind("--", 0) != 0) file = arg;
    else {
      std::fprintf(stderr, "usage: mapread FILE [--index] [--open-only]\n");
      return 2;
    }
  }
  if (file.empty()) {
    std::fprintf(stderr, "usage: mapread FILE [--index] [--open-only]\n");
    return 2;
  }
  try {
    using Clock = std::chrono::steady_clock;
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    auto globe = lyrconvert::NewHeadlessGlobe();
    if (index) globe->SetSaveMetaDataLocation(globe::smdWithDataFile);
    const auto start = Clock::now();
    globe::TGlobeFileReader& reader = lyrconvert::OpenMapFile(*globe, file);
    const int32_t count = reader.Count();
    const auto opened = Clock::now();
    bench::TTouchTotals totals;
    if (!openOnly) totals = bench::TouchEveryPoint(reader);
    const auto read = Clock::now();
    std::printf("objects %d built %d points %lld checksum %lld open_ms %.3f read_ms %.3f\n", count, totals.Objects,
                static_cast<long long>(totals.Points), static_cast<long long>(totals.Checksum), ms(opened - start),
                ms(read - opened));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mapread: %s\n", e.what());
    return 1;
  }
}
