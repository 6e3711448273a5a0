// scenarioopen DIR [OUT.png]: the first use of a scenario's map, as the editor's open does it,
// headless: loads the directory with the scenario loader on a map view (the editor's start
// settings, the environment's layers), then shows the whole globe at 1000 x 700 and paints it
// once on the drawing thread. Prints the in-process times of the load and of the paint in
// milliseconds. The program folder (whose "Data" holds the default map) is the source tree's.

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/LocalFileSystem.h"
#include "platform/RegionalSettings.h"
#include "platform/qt/QtBitmapImage.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtDrawingThread.h"
#include "scenario/LoadCheck.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: scenarioopen DIR [OUT.png]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  constexpr int kWidth = 1000, kHeight = 700;

  const auto start = Clock::now();
  platform::LocalFileSystem files;
  scenario::TLoadCheck check(files, platform::RegionalSettings{}, CORVALIS_SOURCE_DIR "/data");
  check.Run(std::filesystem::absolute(argv[1]).lexically_normal().string());
  if (check.Kind() == scenario::TScenarioKind::skNone) {
    std::fprintf(stderr, "scenarioopen: %s is no scenario\n", argv[1]);
    for (const std::string& message : check.Messages()) std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
  }
  const auto loaded = Clock::now();

  globe::TVoduz4& view = check.View();
  view.SetClientSize(kWidth, kHeight);
  globe::TGlobeProjection& projection = view.Projection();
  projection.SetAltitude(0);  // the whole globe in the window
  platform::Bitmap24 bitmap(kWidth, kHeight);
  {
    platform::QtDrawingSurface surface(bitmap);
    platform::RunOnDrawingThread([&] { check.Paint(surface, kWidth, kHeight); });
  }
  const auto painted = Clock::now();
  if (argc == 3 && !platform::WritePng(bitmap, argv[2])) {
    std::fprintf(stderr, "scenarioopen: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("messages %zu load_ms %.3f paint_ms %.3f\n", check.Messages().size(), ms(loaded - start),
              ms(painted - loaded));
  return 0;
}
