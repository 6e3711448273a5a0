// The load command on a scenario or campaign directory built in memory from one input: lines
// "=== NAME" start the file NAME of the directory (the bytes before the first one are
// ScenarioInfo.cfg). The directory is loaded as the editor loads it, the result written as the
// load check's JSON, and the bases drawn on a small headless map.

#include <cstdint>
#include <exception>
#include <string>

#include "FuzzScenarioFiles.h"
#include "globe/view/Voduz4.h"
#include "platform/NullDrawingSurface.h"
#include "platform/testing/MemoryFileSystem.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioState.h"
#include "scenario/ViewMapPainter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::testing::MemoryFileSystem files;
  fuzz::AddScenarioFiles(files, data, size);

  scenario::TLoadCheck check(files, platform::RegionalSettings{}, "/prog");
  check.Run("/scen");
  check.Json();
  check.Text();

  globe::TVoduz4& view = check.View();
  scenario::TScenarioState& state = check.State();
  view.OnRender = [&state](globe::TVoduz4& v) { scenario::DrawBasesOnView(state.BaseList, v); };
  view.OnPaintGraticule = [](globe::TVoduz4&) {};  // the map's own lines are not what is tested here
  view.SetClientSize(96, 64);
  platform::NullDrawingSurface surface(96, 64);
  view.Paint(surface);
  view.OnRender = nullptr;
  view.OnPaintGraticule = nullptr;
  return 0;
}
