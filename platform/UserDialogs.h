#pragma once

#include <functional>
#include <string>

namespace platform {

// Button sets of a confirmation question.
enum class DialogButtons { YesNo, OkCancel, YesNoCancel };

// The button the user pressed to close a question.
enum class DialogAnswer { Yes, No, Ok, Cancel };

// What a save-file dialog offers. The filter is a list of "description|pattern" pairs
// joined by "|", e.g. "Environment files (*.ENV)|*.env".
struct SaveFileOptions {
    std::string title;
    std::string defaultExtension;
    std::string initialFileName;
    std::string filter;
    std::string initialDirectory;
};

// What an input box's check says of an entered text: empty when it may be taken, otherwise the
// reason it may not.
using InputCheck = std::function<std::string(const std::string& text)>;

// Modal user dialogs. Message texts may contain a carriage return (code 13) that breaks the
// line in the dialog.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A plain message box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A message box with the error icon and an OK button.
    virtual void ShowError(const std::string& text) = 0;
    // A question with the given buttons; returns the button pressed.
    virtual DialogAnswer Confirm(const std::string& text, DialogButtons buttons) = 0;
    // A one-line text input box; returns the entered text, or defaultText when cancelled.
    virtual std::string InputBox(const std::string& title, const std::string& prompt,
                                 const std::string& defaultText) = 0;
    // An input box whose text is taken only when check finds no fault in it. A refused text
    // stays in the box with the reason shown in the box, for the user to correct or cancel.
    // The default text itself is taken unchecked, and returned with its own bytes; a changed text
    // is UTF-8. Returns the taken text, or defaultText when
    // cancelled. By default one InputBox whose refused text is reported with ShowError and
    // counts as cancelled.
    virtual std::string CheckedInputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText, const InputCheck& check);
    // Directory selection starting in startDirectory; returns an empty text when cancelled.
    virtual std::string ChooseDirectory(const std::string& startDirectory) = 0;
    // Selection of a folder to make or to fill: the typed name of a folder that does not exist
    // yet is taken too. By default ChooseDirectory.
    virtual std::string ChooseNewDirectory(const std::string& startDirectory);
    // Save-file selection; returns the chosen file name, or an empty text when cancelled. It does
    // not ask whether an existing file is to be replaced; the caller asks.
    virtual std::string ChooseSaveFile(const SaveFileOptions& options) = 0;
};

// The answer of the button that is the default (first) one of a button set.
DialogAnswer DefaultAnswer(DialogButtons buttons);

}  // namespace platform
