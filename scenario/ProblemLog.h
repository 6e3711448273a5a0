#pragma once
// The dialogs a load runs with when its messages go to the Problems panel: every record, message
// and error is filed under the file being read and, unless the boxes are switched off, passed on
// to the dialogs that show it. Questions and choices always pass on.

#include <string>
#include <vector>

#include "platform/UserDialogs.h"
#include "scenario/Diagnostic.h"

namespace scenario {

class TProblemLog : public platform::UserDialogs, public TDiagnosticSink {
public:
    // shown must outlive the log.
    explicit TProblemLog(platform::UserDialogs& shown) : Shown_(shown) {}

    // False: messages are only recorded (the panel-only setting).
    void SetShowMessages(bool show) { ShowMessages_ = show; }
    // The file the following messages are about.
    void SetCurrentFile(std::string file) { CurrentFile_ = std::move(file); }
    const std::vector<TDiagnostic>& Problems() const { return Problems_; }

    // A record of the load (a reader's message with its line): filed under the current file
    // when it names none, and shown as DiagnosticMessage words it.
    void Report(const TDiagnostic& diagnostic) override;
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    platform::DialogAnswer Confirm(const std::string& text, platform::DialogButtons buttons) override;
    std::string InputBox(const std::string& title, const std::string& prompt,
                         const std::string& defaultText) override;
    std::string ChooseDirectory(const std::string& startDirectory) override;
    std::string ChooseSaveFile(const platform::SaveFileOptions& options) override;

private:
    platform::UserDialogs& Shown_;
    bool ShowMessages_ = true;
    std::string CurrentFile_;
    std::vector<TDiagnostic> Problems_;
};

}  // namespace scenario
