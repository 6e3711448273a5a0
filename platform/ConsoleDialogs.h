#pragma once

#include <ostream>

#include "platform/UserDialogs.h"

namespace platform {

// Dialogs for command-line tools: messages and errors are printed to a stream (carriage
// returns become line breaks); questions take the default button, the input box its default
// text, and file and directory choices are cancelled.
class ConsoleDialogs : public UserDialogs {
public:
    explicit ConsoleDialogs(std::ostream& out);

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    DialogAnswer Confirm(const std::string& text, DialogButtons buttons) override;
    std::string InputBox(const std::string& title, const std::string& prompt,
                         const std::string& defaultText) override;
    std::string ChooseDirectory(const std::string& startDirectory) override;
    std::string ChooseSaveFile(const SaveFileOptions& options) override;

private:
    void Print(const std::string& prefix, const std::string& text);

    std::ostream& out_;
};

}  // namespace platform
