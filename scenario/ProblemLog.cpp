#include "scenario/ProblemLog.h"

namespace scenario {

void TProblemLog::Report(const TDiagnostic& diagnostic) {
    Problems_.push_back(diagnostic);
    if (Problems_.back().File.empty()) Problems_.back().File = CurrentFile_;
    if (ShowMessages_) Shown_.ShowMessage(DiagnosticMessage(diagnostic));
}

void TProblemLog::ShowMessage(const std::string& text) { Report(MessageDiagnostic(text)); }

void TProblemLog::ShowError(const std::string& text) {
    Problems_.push_back(MessageDiagnostic(text, 0, CurrentFile_));
    if (ShowMessages_) Shown_.ShowError(text);
}

platform::DialogAnswer TProblemLog::Confirm(const std::string& text, platform::DialogButtons buttons) {
    return Shown_.Confirm(text, buttons);
}

std::string TProblemLog::InputBox(const std::string& title, const std::string& prompt,
                                  const std::string& defaultText) {
    return Shown_.InputBox(title, prompt, defaultText);
}

std::string TProblemLog::ChooseDirectory(const std::string& startDirectory) {
    return Shown_.ChooseDirectory(startDirectory);
}

std::string TProblemLog::ChooseSaveFile(const platform::SaveFileOptions& options) {
    return Shown_.ChooseSaveFile(options);
}

}  // namespace scenario
