// LYR layer files: the input is written as a file, opened as a layer source and every object built.

#include <cstdint>
#include <exception>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeFileReader.h"
#include "tools/lyrconvert/LyrConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = fuzz::WriteScratchFile("layer.lyr", fuzz::AsText(data, size));
  auto globe = lyrconvert::NewHeadlessGlobe();
  try {
    lyrconvert::Summarise(lyrconvert::OpenMapFile(*globe, file));
  } catch (const std::exception&) {
    // Refused with a message naming the file.
  }
  return 0;
}
