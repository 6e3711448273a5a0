#pragma once
// A fuzz input as a scenario folder in memory: the program folder "/prog" with its "Data", and
// the scenario folder "/scen" holding the files the input names (SplitNamedFiles; the bytes
// before the first name are ScenarioInfo.cfg).
#include <exception>

#include "FuzzScratch.h"
#include "platform/testing/MemoryFileSystem.h"

namespace fuzz {

inline void AddScenarioFiles(platform::testing::MemoryFileSystem& files, const uint8_t* data, size_t size) {
  files.AddDirectory("/prog/Data");
  files.AddDirectory("/scen");
  for (const auto& [name, bytes] : SplitNamedFiles(AsText(data, size), "ScenarioInfo.cfg")) {
    if (name.size() > 64) continue;
    try {
      files.AddFile("/scen/" + name, bytes);
    } catch (const std::exception&) {
      // A name the in-memory file system refuses (a folder's name, say): not part of the test.
    }
  }
}

}  // namespace fuzz
