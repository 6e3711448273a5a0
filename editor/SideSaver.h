#pragma once
// Writing the side files back: Save of the current force's side, and the question about each
// side with unsaved steps before the window closes or another scenario is opened.
#include <memory>

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
  // selected). A failure is shown and leaves Modified and the lines as they were: false.
  bool SaveSideLines();
  // The side has steps since it was last loaded or saved (the undo stack's clean state of the
  // side).
  bool SideLinesChanged(int side) const;
  // For each side with unsaved lines asks "Save changes to <file>?" (Yes, No, Cancel). False
  // keeps the current scenario (Cancel, or a save that failed).
  bool CloseQuery();

 private:
  // Writes one side's file; shows the message of success or of the failure.
  bool SaveSide(int side);

  std::unique_ptr<TEditorDocument>& document_;
  std::unique_ptr<platform::FileSystem>& files_;
  platform::UserDialogs& dialogs_;
};

}  // namespace editor
