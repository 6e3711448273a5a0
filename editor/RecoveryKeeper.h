#pragma once
// Keeps the unsaved lines of each side aside in the user's data folder (scenario/RecoveryStore.h)
// within two seconds of every step on the undo stack, and offers them back when the scenario
// folder is opened again after a crash. A save or a discard of a side removes its copy, a clean
// exit and opening another scenario (after their questions about unsaved sides) both.
#include <QObject>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/LocalFileSystem.h"
#include "platform/RegionalSettings.h"
#include "platform/TextLines.h"
#include "scenario/RecoveryStore.h"

namespace platform {
class UserDialogs;
}

namespace editor {

class TEditorDocument;

class TRecoveryKeeper : public QObject {
  Q_OBJECT
 public:
  // The longest time from a step to its copy on the disk.
  static constexpr int kKeepDelayMs = 2000;

  // The document and the scenario's file system are the window's (replaced at a load or by a
  // test); the copies go to <AppDataLocation>/Recovery.
  TRecoveryKeeper(std::unique_ptr<TEditorDocument>& document, std::unique_ptr<platform::FileSystem>& files,
                  platform::UserDialogs& dialogs, const platform::RegionalSettings& regional, QObject* parent);

  // The folder of the copies.
  const std::string& Folder() const { return folder_; }
  scenario::TRecoveryStore& Store() { return store_; }

  // After a scenario was opened: the copies of the one before go (its unsaved sides were saved
  // or declined), and for each side whose kept copy differs from its file the user is asked
  // "Restore unsaved changes to <file> from <date and time>?". Yes brings the lines back as one
  // step (the side is then unsaved); No deletes the copy.
  void ScenarioOpened();
  // A clean exit: both sides' copies go.
  void ScenarioClosed();
  // The copies of the sides whose lines changed, written now instead of when the timer runs out.
  void KeepNow();

 private:
  void SideSaved(int side);
  void OfferRestore(int side);
  std::string SideFile(int side) const;
  // RecoveryHash of the side file as it is on disk; empty when it cannot be read.
  std::string DiskHash(int side) const;

  std::unique_ptr<TEditorDocument>& document_;
  std::unique_ptr<platform::FileSystem>& files_;
  platform::UserDialogs& dialogs_;
  const platform::RegionalSettings& regional_;
  std::string folder_;
  platform::LocalFileSystem storeFiles_;
  scenario::TRecoveryStore store_;
  QTimer timer_;
  // The scenario folder and side file names the copies are kept for.
  std::string scenarioFolder_;
  std::array<std::string, 2> sideFiles_;
  // Per side, the lines last written; none when this session has no copy of the side.
  std::array<std::optional<platform::TextLines>, 2> kept_;
  // A failure to keep is told once, not every two seconds.
  bool failureTold_ = false;
};

}  // namespace editor
