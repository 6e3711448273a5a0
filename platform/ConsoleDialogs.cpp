#include "platform/ConsoleDialogs.h"

namespace platform {

ConsoleDialogs::ConsoleDialogs(std::ostream& out) : out_(out) {}

void ConsoleDialogs::Print(const std::string& prefix, const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        if (c == '\r') c = '\n';
    }
    out_ << prefix << shown << '\n';
    out_.flush();
}

void ConsoleDialogs::ShowMessage(const std::string& text) { Print("", text); }

void ConsoleDialogs::ShowError(const std::string& text) { Print("Error: ", text); }

DialogAnswer ConsoleDialogs::Confirm(const std::string& text, DialogButtons buttons) {
    Print("", text);
    return DefaultAnswer(buttons);
}

std::string ConsoleDialogs::InputBox(const std::string&, const std::string&,
                                     const std::string& defaultText) {
    return defaultText;
}

std::string ConsoleDialogs::ChooseDirectory(const std::string&) { return {}; }

std::string ConsoleDialogs::ChooseSaveFile(const SaveFileOptions&) { return {}; }

}  // namespace platform
