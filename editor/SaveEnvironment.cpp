#include "editor/SaveEnvironment.h"

#include <exception>
#include <string>

#include "globe/data/CustomVoduz4.h"
#include "platform/FileSystem.h"
#include "platform/UserDialogs.h"

namespace editor {

void SaveEnvironmentAs(globe::TCustomVoduz4* view, platform::UserDialogs& dialogs, platform::FileSystem& files)
{
  if (view == nullptr) return;  // no map to save yet
  platform::SaveFileOptions options;
  options.defaultExtension = "env";
  options.initialFileName = "*.env";
  options.filter = "Environment files (*.ENV)|*.env";
  const std::string fileName = dialogs.ChooseSaveFile(options);
  if (fileName.empty()) return;
  if (files.FileExistsAsNamed(fileName) &&
      dialogs.Confirm("Replace the existing file " + fileName + "?", platform::DialogButtons::YesNo) !=
          platform::DialogAnswer::Yes)
    return;
  try {
    view->SaveEnvironmentFile(fileName);
  } catch (const std::exception& error) {
    dialogs.ShowError(error.what());
  }
}

}  // namespace editor
