// The scenario checks on a scenario or campaign directory built in memory from one input (as the
// `scenario` target builds it: lines "=== NAME" start the file NAME, the bytes before the first
// one are ScenarioInfo.cfg). The loaded scenario is linted against the land of the small map
// tests/fuzz/maps/Land.lyr, as a whole and force by force as the editor does after an edit.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "FuzzScenarioFiles.h"
#include "platform/testing/MemoryFileSystem.h"
#include "scenario/LintLand.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::unique_ptr<globe::TLandIndex> land =
      scenario::LandFromFile(CORVALIS_SOURCE_DIR "/tests/fuzz/maps/Land.lyr");
  if (land == nullptr) std::abort();  // the map is part of the target
  platform::testing::MemoryFileSystem files;
  fuzz::AddScenarioFiles(files, data, size);

  scenario::TLoadCheck check(files, platform::RegionalSettings{}, "/prog");
  check.Run("/scen");
  const scenario::TScenarioState& state = check.State();
  for (const scenario::TLintFinding& finding : scenario::LintScenario(state, land.get(), files))
    scenario::FormatFinding(finding);
  for (const scenario::TForce* force : state.ForceList) scenario::LintForce(state, *force, land.get());
  return 0;
}
