// Program entry of the scenario editor.
#include "editor/EditMain.h"
#include "editor/EditorApplication.h"

int main(int argc, char* argv[])
{
  editor::TEditorApplication app(argc, argv);
  editor::TfrmEditMain mainWindow;
  mainWindow.show();
  return app.exec();
}
