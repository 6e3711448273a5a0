// The meta-data (index) files the map readers keep beside a map: the input's first byte chooses
// the map (a LYR layer, a shapefile or a MapInfo file, from tests/fuzz/maps), the rest is its
// ".md" file, written newer than the map so that the reader takes it instead of reading the map
// through. The layer is then opened and every object built.
//
// With FUZZ_MAKE_SEEDS=DIR in the environment the program first writes the meta-data files the
// readers make themselves into DIR as seeds.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeFileReader.h"
#include "platform/RegularFile.h"
#include "tools/lyrconvert/LyrConvert.h"

namespace {

namespace fs = std::filesystem;

// The maps, each copied into the scratch folder once; the first named is the one opened.
const char* const kMaps[][2] = {{"Land.lyr", nullptr}, {"Coast.shp", "Coast.dbf"}, {"Countries.mif", "Countries.mid"}};

std::string PrepareMap(std::size_t which) {
  static const bool copied = [] {
    for (const auto& files : kMaps)
      for (const char* name : files)
        if (name != nullptr)
          fs::copy_file(fs::path(CORVALIS_SOURCE_DIR "/tests/fuzz/maps") / name, fuzz::ScratchDir() + name,
                        fs::copy_options::overwrite_existing);
    return true;
  }();
  (void)copied;
  return fuzz::ScratchDir() + kMaps[which][0];
}

void OpenAndRead(const std::string& map) {
  auto globe = lyrconvert::NewHeadlessGlobe();
  globe->SetSaveMetaDataLocation(globe::smdWithDataFile);
  try {
    lyrconvert::Summarise(lyrconvert::OpenMapFile(*globe, map));
  } catch (const std::exception&) {
    // Refused with a message naming the file.
  }
}

void MakeSeeds(const std::string& dir) {
  for (std::size_t i = 0; i < std::size(kMaps); ++i) {
    const std::string map = PrepareMap(i);
    fs::remove(map + ".md");
    OpenAndRead(map);
    std::ofstream(dir + "/" + kMaps[i][0] + ".md", std::ios::binary)
        << static_cast<char>(i) << platform::ReadRegularFile(map + ".md");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* dir = std::getenv("FUZZ_MAKE_SEEDS")) MakeSeeds(dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string map = PrepareMap(data[0] % std::size(kMaps));
  const std::string metaData = fuzz::WriteScratchFile(fs::path(map).filename().string() + ".md",
                                                      fuzz::AsText(data + 1, size - 1));
  fs::last_write_time(metaData, fs::last_write_time(map) + std::chrono::hours(1));
  OpenAndRead(map);
  return 0;
}
