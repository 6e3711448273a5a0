#include "platform/qt/QtNewFolderDialog.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QtNewFolderDialog::QtNewFolderDialog(QWidget* parent, const QString& startDirectory)
    : QFileDialog(parent, QString(), startDirectory) {
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
    // A native dialog decides by itself and refuses the new name.
    setOption(QFileDialog::DontUseNativeDialog);
}

void QtNewFolderDialog::accept() {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
        const QFileInfo typed(files.first());
        if (!typed.exists() && typed.dir().exists()) {
            newFolder_ = typed.absoluteFilePath();
            QDialog::accept();
            return;
        }
    }
    // An existing folder, or the message about a name in a folder that does not exist.
    QFileDialog::accept();
}

QString QtNewFolderDialog::Chosen() const {
    if (!newFolder_.isEmpty()) return newFolder_;
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace platform
