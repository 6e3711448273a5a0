// The whole chain from a scenario folder on disk: its files, the environment its information file
// names, the map files the environment's layers name, and the scenario checks against the
// environment's "Land" layer. One input holds the folder: lines "=== NAME" start the file NAME
// (a plain name; the bytes before the first one are ScenarioInfo.cfg), so the environment and
// the map files are files of the folder beside the side files. The folder lies in the scratch
// folder and is emptied before every input; the program folder holds an empty Data folder.

#include <cctype>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>

#include "FuzzScratch.h"
#include "platform/LocalFileSystem.h"
#include "scenario/LoadCheck.h"

namespace {

namespace fs = std::filesystem;

bool PlainName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
  for (const char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && c != '-') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path scenarioDir = fuzz::ScratchDir() + "scen";
  const fs::path programDir = fuzz::ScratchDir() + "prog";
  fs::create_directories(programDir / "Data");
  fs::remove_all(scenarioDir);
  fs::create_directories(scenarioDir);
  for (const auto& [name, bytes] : fuzz::SplitNamedFiles(fuzz::AsText(data, size), "ScenarioInfo.cfg")) {
    if (PlainName(name)) fuzz::WriteScratchFile("scen/" + name, bytes);
  }

  platform::LocalFileSystem files;
  scenario::TLoadCheck check(files, platform::RegionalSettings{}, programDir.string());
  check.Run(scenarioDir.string());
  check.Lint();
  check.FindingsText();
  check.Json();
  return 0;
}
