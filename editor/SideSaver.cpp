#include "editor/SideSaver.h"

#include "editor/EditorDocument.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
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

bool TSideSaver::SaveSide(int side)
{
  const scenario::TScenarioState& state = document_->State();
  const std::string name = scenario::SideFileName(state.IsCampaign, side);
  try {
    // The old file is replaced only once the new one is complete on the disk.
    files_->ReplaceLines(state.ScenarioDir + name, state.SideLines[side]);
  } catch (const platform::EFileError& error) {
    dialogs_.ShowError(error.what());
    return false;
  }
  document_->MarkSaved(side);
  dialogs_.ShowMessage("File saved as: " + name);
  return true;
}

bool TSideSaver::SaveSideLines()
{
  const scenario::TForce* force = document_->Document().CurrentForce();
  if (force == nullptr) return true;
  if (!SaveSide(force->Side == 0 ? 0 : 1)) return false;
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
