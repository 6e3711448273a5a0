#include "editor/ScenarioSaveAs.h"

#include <array>
#include <optional>

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <filesystem>
#include <vector>

#include "editor/EditorDocument.h"
#include "globe/view/Voduz4.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/FolderCopy.h"
#include "platform/PathNames.h"
#include "platform/UserDialogs.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/ScenarioState.h"
#include "scenario/SideFile.h"

namespace editor {

namespace {

namespace fs = std::filesystem;

// A folder's name without a trailing separator.
fs::path FolderName(fs::path folder)
{
  folder = folder.lexically_normal();
  if (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  return folder;
}

}  // namespace

TScenarioSaveAs::TScenarioSaveAs(QMainWindow& window, std::unique_ptr<TEditorDocument>& document,
                                 std::unique_ptr<platform::FileSystem>& files, std::unique_ptr<globe::TVoduz4>& map,
                                 platform::UserDialogs& dialogs)
    : QObject(&window), document_(document), files_(files), map_(map), dialogs_(dialogs)
{
  mark_ = new QLabel("Read-only: \"Save scenario as\" keeps the edits", window.statusBar());
  mark_->setObjectName("stReadOnly");
  window.statusBar()->addPermanentWidget(mark_);
  mark_->hide();
}

bool TScenarioSaveAs::SaveAs()
{
  const scenario::TScenarioState& state = document_->State();
  if (state.ScenarioDir.empty()) return false;
  const fs::path source = FolderName(state.ScenarioDir);
  const std::string chosen = dialogs_.ChooseNewDirectory(source.parent_path().string());
  if (chosen.empty()) return false;
  const fs::path target = FolderName(source.parent_path() / chosen);

  // The sides with unsaved steps are written as Save would write them; the rest byte for byte.
  platform::ReplacedFiles unsaved;
  std::array<std::optional<std::string>, 2> written;
  for (int side = 0; side <= 1; ++side) {
    if (!document_->SideModified(side)) continue;
    const std::string file = files_->ResolveName(state.ScenarioDir + scenario::SideFileName(state.IsCampaign, side));
    written[static_cast<std::size_t>(side)] = platform::JoinLinesCrLf(state.SideLines[static_cast<std::size_t>(side)]);
    unsaved[platform::LastPathComponent(file)] = *written[static_cast<std::size_t>(side)];
  }
  try {
    platform::CopyFolder(source.string(), target.string(), unsaved);
  } catch (const platform::EFileError& error) {
    dialogs_.ShowError(error.what());
    return false;
  }
  // The copy's side files hold these bytes now: the check for changes by other programs
  // compares with them.
  for (int side = 0; side <= 1; ++side)
    if (written[static_cast<std::size_t>(side)]) document_->Document().MarkWritten(side, std::move(*written[static_cast<std::size_t>(side)]));
  MoveTo(target.string());
  return true;
}

void TScenarioSaveAs::MoveTo(const std::string& folder)
{
  scenario::TScenarioState& state = document_->State();
  const std::string oldDir = state.ScenarioDir;
  const std::string newDir = platform::WithTrailingSeparator(folder);
  state.ScenarioDir = newDir;
  state.Caption = scenario::ScenarioCaption(folder);
  for (int side = 0; side <= 1; ++side) {
    if (document_->SideModified(side)) document_->MarkSaved(side);
  }
  state.Modified = false;
  // The environment's files beside the scenario are read from the copy from now on.
  if (map_->DataDirectory() == oldDir) map_->SetDataDirectory(newDir);
  try {
    files_->SetCurrentDirectory(newDir);
  } catch (const platform::EFileError&) {
    // The copy went away already: the next save says so.
  }
  // The load's messages name the copy's files; the read-only note is made again for the copy.
  std::vector<scenario::TDiagnostic> diagnostics = document_->Document().LoadDiagnostics();
  for (scenario::TDiagnostic& diagnostic : diagnostics) {
    if (diagnostic.File.starts_with(oldDir)) diagnostic.File = newDir + diagnostic.File.substr(oldDir.size());
  }
  document_->Document().SetLoadDiagnostics(std::move(diagnostics));
  NoteReadOnly();
  emit Moved(QString::fromStdString(folder));
}

std::string TScenarioSaveAs::ReadOnlyPart() const
{
  const scenario::TScenarioState& state = document_->State();
  if (!files_->CanWrite(state.ScenarioDir)) return "The folder " + FolderName(state.ScenarioDir).string();
  for (int side = 0; side <= 1; ++side) {
    const std::string file = state.ScenarioDir + scenario::SideFileName(state.IsCampaign, side);
    if (files_->FileExists(file) && !files_->CanWrite(file)) return "The file " + files_->ResolveName(file);
  }
  return {};
}

void TScenarioSaveAs::NoteReadOnly()
{
  scenario::TScenarioDocument& document = document_->Document();
  std::vector<scenario::TDiagnostic> diagnostics = document.LoadDiagnostics();
  std::erase_if(diagnostics, [](const scenario::TDiagnostic& diagnostic) { return diagnostic.Code == kReadOnlyFolderCode; });
  const std::string part = ReadOnlyPart();
  if (!part.empty()) {
    scenario::TDiagnostic note = scenario::MessageDiagnostic(
        part + " is read-only: edits cannot be saved there. \"Save scenario as\" keeps them in a new folder.");
    note.Severity = scenario::TLintSeverity::lsNote;
    note.Code = kReadOnlyFolderCode;
    diagnostics.push_back(std::move(note));
    mark_->setToolTip(QString::fromStdString(diagnostics.back().Text));
  }
  document.SetLoadDiagnostics(std::move(diagnostics));
  mark_->setVisible(!part.empty());
}

bool TScenarioSaveAs::OfferSaveAs(const std::string& sideFile)
{
  const std::string question =
      "Cannot write file \"" + sideFile + "\": it is read-only.\rSave scenario as a new folder to keep the edits?";
  if (dialogs_.Confirm(question, platform::DialogButtons::YesNo) != platform::DialogAnswer::Yes) return false;
  return SaveAs();
}

}  // namespace editor
