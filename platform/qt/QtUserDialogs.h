#pragma once
// UserDialogs through Qt's standard message boxes, input dialog and file dialogs.
#include <QPointer>
#include <QWidget>

#include "platform/UserDialogs.h"

namespace platform {

class QtUserDialogs : public UserDialogs {
public:
    // Dialogs are shown over parent (may be null); the caption is the window title of the
    // message boxes.
    explicit QtUserDialogs(QWidget* parent = nullptr, QString caption = QString());

    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    DialogAnswer Confirm(const std::string& text, DialogButtons buttons) override;
    std::string InputBox(const std::string& title, const std::string& prompt,
                         const std::string& defaultText) override;
    std::string CheckedInputBox(const std::string& title, const std::string& prompt,
                                const std::string& defaultText, const InputCheck& check) override;
    std::string ChooseDirectory(const std::string& startDirectory) override;
    std::string ChooseNewDirectory(const std::string& startDirectory) override;
    std::string ChooseSaveFile(const SaveFileOptions& options) override;

private:
    QPointer<QWidget> parent_;
    QString caption_;
};

// A filter "description|pattern|description|pattern" as Qt name filters.
QStringList NameFiltersFromFilter(const std::string& filter);

}  // namespace platform
