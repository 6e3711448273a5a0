// The scenario checks: the world map's land index (Natural Earth 1:10m, the default Land.lyr),
// the checks of a whole demo scenario, and the check of one force after an edit.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "globe/data/LandIndex.h"
#include "platform/LocalFileSystem.h"
#include "scenario/LintLand.h"
#include "scenario/LoadCheck.h"
#include "scenario/ScenarioLint.h"
#include "scenario/ScenarioState.h"

namespace {

const std::string kProgramDir = std::string(CORVALIS_SOURCE_DIR) + "/data";

void BM_WorldLandIndex(benchmark::State& state) {
  for (auto _ : state) {
    auto land = scenario::LandFromFile(kProgramDir + "/Data/Land.lyr");
    benchmark::DoNotOptimize(land->IsLand(globe::TGeoPoint(0, 0)));
  }
}
BENCHMARK(BM_WorldLandIndex)->Unit(benchmark::kMillisecond);

// The Crete demo loaded once; its checks run on it.
struct TCrete {
  TCrete() : check(files, platform::RegionalSettings{}, kProgramDir) {
    const std::filesystem::path start = std::filesystem::current_path();
    check.Run(kProgramDir + "/Scenarios/Crete1941");
    std::filesystem::current_path(start);
    land = scenario::LandForScenario(check.Globe(), kProgramDir);
  }
  platform::LocalFileSystem files;
  scenario::TLoadCheck check;
  std::unique_ptr<globe::TLandIndex> land;
};

TCrete& Crete() {
  static TCrete crete;
  return crete;
}

void BM_LintScenario(benchmark::State& state) {
  TCrete& crete = Crete();
  for (auto _ : state) {
    benchmark::DoNotOptimize(scenario::LintScenario(crete.check.State(), crete.land.get(), crete.files));
  }
}
BENCHMARK(BM_LintScenario)->Unit(benchmark::kMillisecond);

void BM_LintForce(benchmark::State& state) {
  TCrete& crete = Crete();
  const scenario::TForce& force = *crete.check.State().ForceList.front();
  for (auto _ : state) {
    benchmark::DoNotOptimize(scenario::LintForce(crete.check.State(), force, crete.land.get()));
  }
}
BENCHMARK(BM_LintForce)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
