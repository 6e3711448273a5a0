// Program entry of the scenario editor: vrkedit [DIR] opens DIR after the splash.
#include <cstdio>

#include "editor/CommandLine.h"
#include "editor/EditMain.h"
#include "editor/EditorApplication.h"

int main(int argc, char* argv[])
{
  const editor::TCommandLine options = editor::ParseCommandLine(argc, argv);
  if (options.Exit) {
    std::fputs(options.Output.c_str(), options.ExitCode == 0 ? stdout : stderr);
    return options.ExitCode;
  }
  editor::TEditorApplication app(argc, argv);
  editor::TfrmEditMain mainWindow;
  if (options.Directory) mainWindow.SetStartDirectory(*options.Directory);
  mainWindow.show();
  return app.exec();
}
