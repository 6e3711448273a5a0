// Frame times of the globe view at 1000 x 700: the whole globe on the editor's initial centre,
// a Mediterranean close-up, about 20 km of a coast, and a rotate step (the globe tilted by a degree, then drawn), for
// the 10m land layer (CORVALIS_BENCH_LAND, default data/Data/Land.lyr) and, when
// CORVALIS_BENCH_LARGE names one, a large layer. Every frame renders the static scene afresh.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/render/BenchView.h"

namespace {

bench::TBenchView& ViewOf(const std::string& file) {
  static std::map<std::string, std::unique_ptr<bench::TBenchView>> views;
  auto& view = views[file];
  if (!view) view = std::make_unique<bench::TBenchView>(file, 1000, 700);
  return *view;
}

enum TFrame { frGlobe, frMediterranean, frCoast, frRotate };

void Frame(benchmark::State& state, const std::string& file, TFrame frame) {
  bench::TBenchView& view = ViewOf(file);
  if (frame == frMediterranean) view.ShowMediterranean();
  else if (frame == frCoast) view.ShowCoast();
  else view.ShowWholeGlobe();
  view.Render();  // objects built and 3-D points cached before the clock runs
  for (auto _ : state) {
    if (frame == frRotate) view.RotateStep();
    view.Render();
  }
}

void Register(const std::string& name, const std::string& file) {
  for (auto [frame, label] : {std::pair{frGlobe, "Globe"}, {frMediterranean, "Mediterranean"}, {frCoast, "Coast"},
                                {frRotate, "RotateStep"}})
    benchmark::RegisterBenchmark(("BM_" + name + "_" + label).c_str(), [file, frame = frame](benchmark::State& s) {
      Frame(s, file, frame);
    })->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const char* land = std::getenv("CORVALIS_BENCH_LAND");
  Register("Land", land ? land : CORVALIS_SOURCE_DIR "/data/Data/Land.lyr");
  if (const char* large = std::getenv("CORVALIS_BENCH_LARGE"); large && std::filesystem::exists(large))
    Register("Large", large);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
