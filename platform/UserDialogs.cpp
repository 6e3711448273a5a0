#include "platform/UserDialogs.h"

namespace platform {

std::string UserDialogs::CheckedInputBox(const std::string& title, const std::string& prompt,
                                         const std::string& defaultText, const InputCheck& check) {
    std::string text = InputBox(title, prompt, defaultText);
    if (text == defaultText) return text;
    const std::string reason = check(text);
    if (reason.empty()) return text;
    ShowError(reason);
    return defaultText;
}

std::string UserDialogs::ChooseNewDirectory(const std::string& startDirectory) { return ChooseDirectory(startDirectory); }

DialogAnswer DefaultAnswer(DialogButtons buttons) {
    return buttons == DialogButtons::OkCancel ? DialogAnswer::Ok : DialogAnswer::Yes;
}

}  // namespace platform
