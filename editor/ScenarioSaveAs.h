#pragma once
// File > Save scenario as: the whole scenario or campaign folder copied to a new folder, the
// sides with unsaved steps written with their lines, and the editor going on in the copy with
// its steps kept. And for a folder opened where nothing can be saved (the installed demos, a
// read-only medium): the note that Save scenario as keeps the edits, and Save offering it.
#include <QObject>
#include <QString>
#include <memory>
#include <string>

class QLabel;
class QMainWindow;

namespace globe {
class TVoduz4;
}
namespace platform {
class FileSystem;
class UserDialogs;
}

namespace editor {

class TEditorDocument;

// The code of the read-only note among the load's diagnostics.
inline constexpr const char* kReadOnlyFolderCode = "read-only-folder";

class TScenarioSaveAs : public QObject {
  Q_OBJECT
 public:
  // The document, file system and map are the window's, replaced at a load or by a test. The
  // read-only mark goes into the window's status bar.
  TScenarioSaveAs(QMainWindow& window, std::unique_ptr<TEditorDocument>& document,
                  std::unique_ptr<platform::FileSystem>& files, std::unique_ptr<globe::TVoduz4>& map,
                  platform::UserDialogs& dialogs);

  // Asks for the new folder (a typed relative name lies beside the scenario's folder) and copies
  // the scenario there. A refused folder or a failed copy is shown and changes nothing: false.
  bool SaveAs();
  // Whether the loaded scenario's folder or one of its side files cannot be written; then a note
  // among the document's load diagnostics and the status bar say so (and nothing when it can).
  void NoteReadOnly();
  // Save of a side whose file cannot be written: asks whether to save the scenario in a new
  // folder instead, and does so on Yes. Returns whether the side was saved.
  bool OfferSaveAs(const std::string& sideFile);

 signals:
  // The editor works in this folder now: the caption and the Recent list follow.
  void Moved(const QString& folder);

 private:
  // What cannot be written, as the start of a sentence ("The folder ..."); empty when all can.
  std::string ReadOnlyPart() const;
  // The document goes on in the copy: its folder, caption and file names; the sides written by
  // the copy are saved.
  void MoveTo(const std::string& folder);

  std::unique_ptr<TEditorDocument>& document_;
  std::unique_ptr<platform::FileSystem>& files_;
  std::unique_ptr<globe::TVoduz4>& map_;
  platform::UserDialogs& dialogs_;
  QLabel* mark_ = nullptr;  // "stReadOnly" in the status bar
};

}  // namespace editor
