// Frame time of the Crete demo at its Home view (the whole scenario in the editor's map area) as
// the editor draws it: land, bases, forces, the first routed force's cases and their arrival
// times, through a Qt surface. Plain: titles left out when they overlap (the old look); Placed:
// the label placement stage with halo and the minimum legible size.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "globe/view/ViewNavigation.h"
#include "globe/view/Voduz4.h"
#include "platform/Bitmap24.h"
#include "platform/LocalFileSystem.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtDrawingThread.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/Force.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioDocument.h"
#include "scenario/ScenarioDrawing.h"
#include "scenario/ScenarioExtent.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioState.h"

namespace {

const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";

struct TCreteHome {
  TCreteHome() : check(files, platform::RegionalSettings{}, kProgramDir) {
    const std::filesystem::path start = std::filesystem::current_path();
    check.Run(kProgramDir + "/Scenarios/Crete1941");
    std::filesystem::current_path(start);
    scenario::TScenarioState& state = check.State();
    for (scenario::TForce* force : state.ForceList) {
      cases = scenario::MapCases(scenario::ParseForceCases(
          state.SideLines[scenario::TScenarioDocument::SideOf(*force)], force->Title(), state.BaseList));
      if (cases.CaseWaypoints[0].Count() == 0) continue;
      shown.Force = force;
      break;
    }
    shown.Cases = &cases;
    shown.StartTime = state.StartTime;
    globe::TVoduz4& view = check.View();
    view.SetClientSize(scenario::kEditorMapWidth, scenario::kEditorMapHeight);
    view.SetTitlePriority(scenario::ScenarioTitlePriority);
    view.OnRender = [this](globe::TVoduz4& v) { DrawScenarioOnView(v, check.State().BaseList, shown, {}); };
    globe::ZoomToPoints(view, scenario::ScenarioExtentPoints(state, check.Globe()), 0.1);
    bitmap = platform::Bitmap24(view.CanvasWidth(), view.CanvasHeight());
    surface = std::make_unique<platform::QtDrawingSurface>(bitmap);
  }
  void Render() {
    check.View().RedrawGlobe();
    platform::RunOnDrawingThread([this] { check.View().Paint(*surface); });
  }
  platform::LocalFileSystem files;
  scenario::TLoadCheck check;
  scenario::TForceCases cases;
  scenario::TShownCase shown;
  platform::Bitmap24 bitmap;
  std::unique_ptr<platform::QtDrawingSurface> surface;
};

TCreteHome& Crete() {
  static TCreteHome crete;
  return crete;
}

void CreteHome(benchmark::State& state, bool placed) {
  TCreteHome& crete = Crete();
  const globe::TVoduz4::TLabelLook look{placed, placed, placed};
  crete.check.View().SetLabelLook(look);
  crete.Render();  // objects built before the clock runs
  for (auto _ : state) crete.Render();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (const bool placed : {false, true})
    benchmark::RegisterBenchmark(placed ? "BM_CreteHome_Placed" : "BM_CreteHome_Plain",
                                 [placed](benchmark::State& s) { CreteHome(s, placed); })
        ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
