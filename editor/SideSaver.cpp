#include "editor/SideSaver.h"

#include <utility>

#include "editor/EditorDocument.h"
#include "editor/EditorSettings.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/TextLines.h"
#include "platform/UserDialogs.h"
#include "scenario/Force.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideFile.h"

namespace editor {

TSideSaver::TSideSaver(std::unique_ptr<TEditorDocument>& document, std::unique_ptr<platform::FileSystem>& files,
                       platform::UserDialogs& dialogs)
    : document_(document), files_(files), dialogs_(dialogs)
{
}

bool TSideSaver::SideLinesChanged(int side) const
{
  if (side < 0 || side > 1) return false;
  return document_->SideModified(side);
}

bool TSideSaver::MayOverwrite(int side)
{
  const scenario::TScenarioDocument& document = document_->Document();
  if (!document.SideFileChangedOnDisk(side, *files_)) return true;
  return dialogs_.Confirm(document.SideFileName(side) +
                              " was changed on disk by another program since it was loaded or last saved. "
                              "Overwrite it with your edits?",
                          platform::DialogButtons::YesNo) == platform::DialogAnswer::Yes;
}

bool TSideSaver::SaveSide(int side)
{
  scenario::TScenarioDocument& document = document_->Document();
  const std::string name = document.SideFileName(side);
  if (!MayOverwrite(side)) return false;
  std::string bytes = platform::JoinLinesCrLf(document.SideLines(side));
  try {
    // The old file is replaced only once the new one is complete on the disk.
    files_->ReplaceBytes(document.SideFilePath(side), bytes);
  } catch (const platform::EFileError& error) {
    dialogs_.ShowError(error.what());
    return false;
  }
  document.MarkWritten(side, std::move(bytes));
  document_->MarkSaved(side);
  if (ConfirmSavesChosen()) dialogs_.ShowMessage("File saved as: " + name);
  if (OnSaved) OnSaved(name);
  return true;
}

std::string TSideSaver::ReadOnlySideFile(int side) const
{
  const std::string file = document_->State().ScenarioDir + scenario::SideFileName(document_->State().IsCampaign, side);
  return SaveReadOnlySide && files_->FileExists(file) && !files_->CanWrite(file) ? file : std::string();
}

bool TSideSaver::SaveSideLines()
{
  const scenario::TForce* force = document_->Document().CurrentForce();
  if (force == nullptr) return true;
  const int side = force->Side == 0 ? 0 : 1;
  if (const std::string file = ReadOnlySideFile(side); !file.empty()) return SaveReadOnlySide(file);
  if (!SaveSide(side)) return false;
  document_->State().Modified = false;
  return true;
}

bool TSideSaver::CloseQuery()
{
  for (int side = 0; side <= 1; ++side) {
    if (!SideLinesChanged(side)) continue;
    const std::string name = scenario::SideFileName(document_->State().IsCampaign, side);
    switch (dialogs_.Confirm("Save changes to " + name + "?", platform::DialogButtons::YesNoCancel)) {
    case platform::DialogAnswer::Yes:
      if (const std::string file = ReadOnlySideFile(side); !file.empty()) {
        if (!SaveReadOnlySide(file)) return false;
        break;
      }
      if (!SaveSide(side)) return false;
      if (const scenario::TForce* force = document_->Document().CurrentForce();
          force != nullptr && (force->Side == 0 ? 0 : 1) == side)
        document_->State().Modified = false;
      break;
    case platform::DialogAnswer::No:
      break;
    default:
      return false;
    }
  }
  return true;
}

}  // namespace editor
