#pragma once
// Dialogs for work that must not stop to ask: messages are dropped, every question gets the
// default answer of its buttons, input boxes their default text, choosers nothing. Derive and
// override the messages to keep them.

#include <string>

#include "platform/UserDialogs.h"

namespace platform {

class QuietDialogs : public UserDialogs {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
    DialogAnswer Confirm(const std::string&, DialogButtons buttons) override { return DefaultAnswer(buttons); }
    std::string InputBox(const std::string&, const std::string&, const std::string& defaultText) override {
        return defaultText;
    }
    std::string ChooseDirectory(const std::string&) override { return {}; }
    std::string ChooseSaveFile(const SaveFileOptions&) override { return {}; }
};

}  // namespace platform
