// maprender ENV_FILE OUTPUT [options]: draws a map environment into a picture.
#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "tools/common/LayerHeap.h"
#include "platform/ProgramFolder.h"
#include "tools/maprender/MapRender.h"

int main(int argc, char** argv) {
  toolcli::PrepareLayerHeap();
  maprender::TMapRenderOptions options;
  if (auto status = maprender::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options,
                                              std::cout, std::cerr))
    return *status;
  // Layer files not found beside the environment come from the program's Data folder, as in the editor.
  options.ProgramDataDirectory = platform::ProgramDataFolder(platform::ExecutableFolder(argv[0])) + "/Data";
  // A command-line renderer needs no display: draw off screen unless told otherwise.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts need the application object
  return maprender::RenderAndWrite(options, std::cerr);
}
