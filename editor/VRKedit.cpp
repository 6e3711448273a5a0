// Program entry of the scenario editor.
#include <QApplication>

#include "editor/EditMain.h"

int main(int argc, char* argv[])
{
  QApplication app(argc, argv);
  QApplication::setApplicationName("VRK editor");
  editor::TfrmEditMain mainWindow;
  mainWindow.show();
  return app.exec();
}
