#pragma once
// The directory dialog for a folder to make or to fill: Qt's own directory dialog takes only a
// folder that exists; this one also takes the typed name of a new folder in an existing one.
#include <QFileDialog>
#include <QString>

namespace platform {

class QtNewFolderDialog : public QFileDialog {
public:
    QtNewFolderDialog(QWidget* parent, const QString& startDirectory);

    // The chosen folder once the dialog was accepted: an existing one or the typed new name.
    QString Chosen() const;
    // Takes a typed new name in an existing folder; anything else as Qt's dialog does.
    void accept() override;

private:
    QString newFolder_;
};

}  // namespace platform
