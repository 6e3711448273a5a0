// Writing the side files back and the question about unsaved lines when the window closes.
#include <QCloseEvent>

#include "editor/EditMain.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "scenario/Force.h"
#include "scenario/SideFile.h"

namespace editor {

void TfrmEditMain::SetFileSystem(std::unique_ptr<platform::FileSystem> files) { files_ = std::move(files); }

platform::FileSystem& TfrmEditMain::Files() { return *files_; }

bool TfrmEditMain::SideLinesChanged(int side) const
{
  if (side < 0 || side > 1) return false;
  return document_->SideModified(side);
}

bool TfrmEditMain::SaveSide(int side)
{
  const std::string name = scenario::SideFileName(Scenario().IsCampaign, side);
  try {
    // The old file is replaced only once the new one is complete on the disk.
    Files().ReplaceLines(Scenario().ScenarioDir + name, Scenario().SideLines[side]);
  } catch (const platform::EFileError& error) {
    dialogs_->ShowError(error.what());
    return false;
  }
  document_->MarkSaved(side);
  dialogs_->ShowMessage("File saved as: " + name);
  return true;
}

bool TfrmEditMain::SaveSideLines()
{
  if (edit_.CurrentForce == nullptr) return true;
  if (!SaveSide(edit_.CurrentForce->Side == 0 ? 0 : 1)) return false;
  Scenario().Modified = false;
  return true;
}

bool TfrmEditMain::CloseQuery()
{
  for (int side = 0; side <= 1; ++side) {
    if (!SideLinesChanged(side)) continue;
    const std::string name = scenario::SideFileName(Scenario().IsCampaign, side);
    switch (dialogs_->Confirm("Save changes to " + name + "?", platform::DialogButtons::YesNoCancel)) {
    case platform::DialogAnswer::Yes:
      if (!SaveSide(side)) return false;
      if (edit_.CurrentForce != nullptr && (edit_.CurrentForce->Side == 0 ? 0 : 1) == side) Scenario().Modified = false;
      break;
    case platform::DialogAnswer::No:
      break;
    default:
      return false;
    }
  }
  return true;
}

void TfrmEditMain::closeEvent(QCloseEvent* event)
{
  if (CloseQuery()) {
    SaveLayout();
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace editor
