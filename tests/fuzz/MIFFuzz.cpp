// MapInfo interchange files: the input is the ".MIF" text, then optionally a line "=== MID" and
// the ".MID" text. The file is opened as a layer source titled from its first column and every
// object built (with its style presenters).

#include <cstdint>
#include <exception>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeFileReader.h"
#include "tools/lyrconvert/LyrConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string mif, mid;
  bool hasMid = false;
  for (const auto& [name, bytes] : fuzz::SplitNamedFiles(fuzz::AsText(data, size), "MIF")) {
    if (name == "MIF") mif = bytes;
    if (name == "MID") mid = bytes, hasMid = true;
  }
  const std::string file = fuzz::WriteScratchFile("table.mif", mif);
  if (hasMid)
    fuzz::WriteScratchFile("table.mid", mid);
  else
    fuzz::RemoveScratchFile("table.mid");
  auto globe = lyrconvert::NewHeadlessGlobe();
  try {
    lyrconvert::Summarise(lyrconvert::OpenMapFile(*globe, file, 0));
  } catch (const std::exception&) {
  }
  return 0;
}
