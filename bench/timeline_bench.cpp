// Frame times of the Crete demo's map at 1000 x 700 as the editor draws it (the scenario's map
// environment, the bases' ranges and minefields in the render event): plain, and with the
// Timeline dock's marks (every force's dot, tick and name, the selected force's track) at a time
// that moves an hour each frame, as dragging the slider does.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "globe/data/GlobeUnits.h"
#include "globe/view/Voduz4.h"
#include "platform/Bitmap24.h"
#include "platform/LocalFileSystem.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtDrawingThread.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioState.h"
#include "scenario/TimelineMarks.h"
#include "scenario/ViewMapPainter.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr std::int64_t kSliderStep = 60;

class TCreteMap {
 public:
  TCreteMap()
  {
    const std::string programDir = CORVALIS_SOURCE_DIR "/data";
    const std::filesystem::path startDir = std::filesystem::current_path();
    check_.Run(programDir + "/Scenarios/Crete1941");
    std::filesystem::current_path(startDir);  // the load moves into the scenario
    globe::TVoduz4& view = check_.View();
    view.SetClientSize(kWidth, kHeight);
    view.LocateToLL(24 * globe::GlobeUnitsPerDegree, 35 * globe::GlobeUnitsPerDegree);  // Crete in the middle
    const scenario::TScenarioState& state = check_.State();
    frame_.Voyages = scenario::PlayedVoyages(state, nullptr, 1);
    frame_.Areas = scenario::ExposureAreas(state.BaseList, check_.Globe());
    if (!frame_.Voyages.empty()) frame_.SelectedForce = frame_.Voyages.front().Force;
    last_ = scenario::LastArrivalMinute(frame_.Voyages);
    surface_ = std::make_unique<platform::QtDrawingSurface>(bitmap_);
  }

  std::size_t Forces() const { return frame_.Voyages.size(); }

  void SetTimeline(bool on)
  {
    check_.View().OnRender = [this, on](globe::TVoduz4& view) {
      scenario::DrawBasesOnView(check_.State().BaseList, view);
      if (on) scenario::DrawTimelineMarks(view, frame_);
    };
  }
  // The slider an hour on (round to the start after the last arrival), then a frame.
  void Frame()
  {
    frame_.Minute = frame_.Minute + kSliderStep > last_ ? 0 : frame_.Minute + kSliderStep;
    check_.View().RedrawGlobe();
    platform::RunOnDrawingThread([this] { check_.View().Paint(*surface_); });
  }

 private:
  platform::LocalFileSystem files_;
  scenario::TLoadCheck check_{files_, platform::RegionalSettings{}, CORVALIS_SOURCE_DIR "/data"};
  scenario::TTimelineFrame frame_;
  std::int64_t last_ = 0;
  platform::Bitmap24 bitmap_{kWidth, kHeight};
  std::unique_ptr<platform::QtDrawingSurface> surface_;
};

void CreteFrame(benchmark::State& state, bool timeline)
{
  static TCreteMap map;
  map.SetTimeline(timeline);
  map.Frame();  // objects built and 3-D points cached before the clock runs
  for (auto _ : state) map.Frame();
  state.counters["forces"] = static_cast<double>(timeline ? map.Forces() : 0);
}

}  // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (const auto& [name, timeline] : {std::pair{"BM_Crete_Plain", false}, std::pair{"BM_Crete_Timeline", true}})
    benchmark::RegisterBenchmark(name, [timeline = timeline](benchmark::State& s) { CreteFrame(s, timeline); })
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
