#pragma once
// Writing the side files back: Save of the current force's side, and the question about each
// side with unsaved steps before the window closes or another scenario is opened.
#include <functional>
#include <memory>
#include <string>

namespace platform {
class FileSystem;
class UserDialogs;
}

namespace editor {

class TEditorDocument;

class TSideSaver {
 public:
  // The document and the file system are the window's, replaced at a load or by a test.
  TSideSaver(std::unique_ptr<TEditorDocument>& document, std::unique_ptr<platform::FileSystem>& files,
             platform::UserDialogs& dialogs);

  // Writes the current force's side lines to its side's file (nothing before a force is
  // selected). A failure is shown and leaves Modified and the lines as they were: false. So does
  // a file another program changed since it was loaded or saved, unless the user chooses to
  // overwrite it.
  bool SaveSideLines();
  // The side has steps since it was last loaded or saved (the undo stack's clean state of the
  // side).
  bool SideLinesChanged(int side) const;
  // For each side with unsaved lines asks "Save changes to <file>?" (Yes, No, Cancel); Yes on a
  // side that cannot be written offers Save scenario as. False keeps the current scenario
  // (Cancel, a save that failed, Save scenario as declined or failed).
  bool CloseQuery();
  // Save of a side whose file cannot be written (a read-only folder) runs this instead, with
  // the file's name; its result is the save's.
  std::function<bool(const std::string& file)> SaveReadOnlySide;

  // Told the name of each side file saved ("AxisShips.cfg"); the message box of success is
  // shown only when chosen in the View menu.
  std::function<void(const std::string& fileName)> OnSaved;

 private:
  // Writes one side's file; tells of the success, shows the failure.
  bool SaveSide(int side);
  // Whether a side file to be written may be written: unchanged on disk, or the user chose to
  // overwrite another program's change.
  bool MayOverwrite(int side);
  // The side's file when it cannot be written and SaveReadOnlySide is set; empty otherwise.
  std::string ReadOnlySideFile(int side) const;

  std::unique_ptr<TEditorDocument>& document_;
  std::unique_ptr<platform::FileSystem>& files_;
  platform::UserDialogs& dialogs_;
};

}  // namespace editor
