#include "platform/qt/QtUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/qt/QtCheckedInputDialog.h"
#include "platform/qt/QtNewFolderDialog.h"
#include "platform/qt/QtText.h"

namespace platform {

namespace {

// Message texts break lines at carriage returns.
QString MessageText(const std::string& text) {
    QString shown = ToQString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace

QtUserDialogs::QtUserDialogs(QWidget* parent, QString caption)
    : parent_(parent), caption_(std::move(caption)) {}

void QtUserDialogs::ShowMessage(const std::string& text) {
    QMessageBox::information(parent_, caption_.isEmpty() ? QApplication::applicationName() : caption_,
                             MessageText(text), QMessageBox::Ok);
}

void QtUserDialogs::ShowError(const std::string& text) {
    QMessageBox::critical(parent_, caption_.isEmpty() ? QApplication::applicationName() : caption_,
                          MessageText(text), QMessageBox::Ok);
}

DialogAnswer QtUserDialogs::Confirm(const std::string& text, DialogButtons buttons) {
    QMessageBox::StandardButtons offered;
    QMessageBox::StandardButton fallback = QMessageBox::No;
    switch (buttons) {
    case DialogButtons::YesNo:
        offered = QMessageBox::Yes | QMessageBox::No;
        break;
    case DialogButtons::OkCancel:
        offered = QMessageBox::Ok | QMessageBox::Cancel;
        fallback = QMessageBox::Cancel;
        break;
    case DialogButtons::YesNoCancel:
        offered = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        fallback = QMessageBox::Cancel;
        break;
    }
    QMessageBox box(QMessageBox::Question,
                    caption_.isEmpty() ? QApplication::applicationName() : caption_,
                    MessageText(text), offered, parent_);
    box.setEscapeButton(fallback);
    switch (box.exec()) {
    case QMessageBox::Yes: return DialogAnswer::Yes;
    case QMessageBox::No: return DialogAnswer::No;
    case QMessageBox::Ok: return DialogAnswer::Ok;
    default: return buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Cancel;
    }
}

std::string QtUserDialogs::InputBox(const std::string& title, const std::string& prompt,
                                    const std::string& defaultText) {
    bool accepted = false;
    QString original = ToQString(defaultText);
    QString entered = QInputDialog::getText(parent_, ToQString(title), ToQString(prompt),
                                            QLineEdit::Normal, original, &accepted);
    if (!accepted || entered == original) return defaultText;
    return FromQString(entered, defaultText);
}

std::string QtUserDialogs::CheckedInputBox(const std::string& title, const std::string& prompt,
                                           const std::string& defaultText, const InputCheck& check) {
    QtCheckedInputDialog box(parent_, ToQString(title), ToQString(prompt), defaultText, check);
    if (box.exec() != QDialog::Accepted) return defaultText;
    return box.Text();
}

std::string QtUserDialogs::ChooseDirectory(const std::string& startDirectory) {
    QString chosen = QFileDialog::getExistingDirectory(parent_, QString(), ToQString(startDirectory));
    return FromQString(chosen);
}

std::string QtUserDialogs::ChooseNewDirectory(const std::string& startDirectory) {
    QtNewFolderDialog dialog(parent_, ToQString(startDirectory));
    return dialog.exec() == QDialog::Accepted ? FromQString(dialog.Chosen()) : std::string();
}

QStringList NameFiltersFromFilter(const std::string& filter) {
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

std::string QtUserDialogs::ChooseSaveFile(const SaveFileOptions& options) {
    QFileDialog dialog(parent_, ToQString(options.title), ToQString(options.initialDirectory));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The caller asks before replacing a file (it knows which save replaces what).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!options.defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(options.defaultExtension));
    QStringList filters = NameFiltersFromFilter(options.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // A wildcard name only repeats the filter; it is not offered as the file name.
    if (!options.initialFileName.empty() &&
        options.initialFileName.find_first_of("*?") == std::string::npos) {
        dialog.selectFile(ToQString(options.initialFileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return FromQString(dialog.selectedFiles().front());
}

}  // namespace platform
