// maprender ENV_FILE OUT.png [options]: draws a map environment into a PNG picture.
#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/qt/QtBitmapImage.h"
#include "tools/maprender/MapRender.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  maprender::TMapRenderOptions options;
  if (auto problem = maprender::ParseArguments(args, options)) {
    std::fprintf(stderr, "maprender: %s\n%s", problem->c_str(), maprender::Usage().c_str());
    return 2;
  }
  // A command-line renderer needs no display: draw off screen unless told otherwise.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts need the application object
  std::string error;
  const platform::Bitmap24 bitmap = maprender::RenderMap(options, error);
  if (!error.empty()) std::fprintf(stderr, "maprender: %s\n", error.c_str());
  if (!platform::WritePng(bitmap, options.OutputFile)) {
    std::fprintf(stderr, "maprender: cannot write %s\n", options.OutputFile.c_str());
    return 1;
  }
  return error.empty() ? 0 : 1;
}
