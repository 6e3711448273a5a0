#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserDialogs.h"

namespace platform::testing {

// Refusal: a text a checked input box did not take; the call's text is the reason shown.
enum class DialogKind { Message, Error, Confirm, Input, Refusal, Directory, SaveFile };

// One recorded dialog. text is the message, the question or the input prompt; title is the
// input box title; defaultText the input box default or the directory dialog's start folder.
struct DialogCall {
    DialogKind kind = DialogKind::Message;
    std::string text;
    std::string title;
    std::string defaultText;
    DialogButtons buttons = DialogButtons::YesNo;
    SaveFileOptions saveOptions;
};

// Test double for UserDialogs: records every call in order and answers from scripted queues.
// With an empty queue a question takes its default button, the input box returns its default
// text (as when cancelled) and directory and file choices are cancelled.
class ScriptedDialogs : public UserDialogs {
public:
    // Answers for Confirm, in order. An answer that is not one of the asked buttons makes the
    // question throw std::logic_error (a mistake in the test script).
    void QueueAnswer(DialogAnswer answer);
    // Answers for InputBox: a text typed and confirmed, or a cancel.
    void QueueInput(std::string text);
    void QueueInputCancel();
    void QueueDirectory(std::string directory);
    void QueueSaveFile(std::string fileName);

    const std::vector<DialogCall>& Calls() const { return calls_; }
    // Texts of the calls of one kind, in order.
    std::vector<std::string> Texts(DialogKind kind) const;
    // Texts of messages and errors, in order (what a reader reported).
    std::vector<std::string> Reports() const;
    void ClearCalls() { calls_.clear(); }

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    DialogAnswer Confirm(const std::string& text, DialogButtons buttons) override;
    std::string InputBox(const std::string& title, const std::string& prompt,
                         const std::string& defaultText) override;
    // Takes the queued inputs in turn while the check refuses them (each refusal recorded);
    // with none left the box is cancelled.
    std::string CheckedInputBox(const std::string& title, const std::string& prompt,
                                const std::string& defaultText, const InputCheck& check) override;
    std::string ChooseDirectory(const std::string& startDirectory) override;
    std::string ChooseSaveFile(const SaveFileOptions& options) override;

private:
    std::vector<DialogCall> calls_;
    std::deque<DialogAnswer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::string> directories_;
    std::deque<std::string> saveFiles_;
};

}  // namespace platform::testing
