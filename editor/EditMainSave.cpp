// The window's files, and the question about unsaved lines when the window closes.
#include <QCloseEvent>

#include "editor/EditMain.h"
#include "editor/RecoveryKeeper.h"
#include "editor/SideSaver.h"
#include "platform/FileSystem.h"

namespace editor {

void TfrmEditMain::SetFileSystem(std::unique_ptr<platform::FileSystem> files) { files_ = std::move(files); }

platform::FileSystem& TfrmEditMain::Files() { return *files_; }

void TfrmEditMain::closeEvent(QCloseEvent* event)
{
  if (saver_->CloseQuery()) {
    SaveLayout();
    // Every unsaved side was saved or declined.
    recovery_->ScenarioClosed();
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace editor
