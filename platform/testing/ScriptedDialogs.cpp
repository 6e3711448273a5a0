#include "platform/testing/ScriptedDialogs.h"

#include <stdexcept>

namespace platform::testing {

namespace {

bool Offers(DialogButtons buttons, DialogAnswer answer) {
    switch (buttons) {
    case DialogButtons::YesNo:
        return answer == DialogAnswer::Yes || answer == DialogAnswer::No;
    case DialogButtons::OkCancel:
        return answer == DialogAnswer::Ok || answer == DialogAnswer::Cancel;
    case DialogButtons::YesNoCancel:
        return answer != DialogAnswer::Ok;
    }
    return false;
}

template <typename T>
std::optional<T> PopFront(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

void ScriptedDialogs::QueueAnswer(DialogAnswer answer) { answers_.push_back(answer); }
void ScriptedDialogs::QueueInput(std::string text) { inputs_.emplace_back(std::move(text)); }
void ScriptedDialogs::QueueInputCancel() { inputs_.emplace_back(std::nullopt); }
void ScriptedDialogs::QueueDirectory(std::string directory) {
    directories_.push_back(std::move(directory));
}
void ScriptedDialogs::QueueSaveFile(std::string fileName) {
    saveFiles_.push_back(std::move(fileName));
}

std::vector<std::string> ScriptedDialogs::Texts(DialogKind kind) const {
    std::vector<std::string> texts;
    for (const DialogCall& call : calls_) {
        if (call.kind == kind) texts.push_back(call.text);
    }
    return texts;
}

std::vector<std::string> ScriptedDialogs::Reports() const {
    std::vector<std::string> texts;
    for (const DialogCall& call : calls_) {
        if (call.kind == DialogKind::Message || call.kind == DialogKind::Error) {
            texts.push_back(call.text);
        }
    }
    return texts;
}

void ScriptedDialogs::ShowMessage(const std::string& text) {
    calls_.push_back({DialogKind::Message, text, {}, {}, {}, {}});
}

void ScriptedDialogs::ShowError(const std::string& text) {
    calls_.push_back({DialogKind::Error, text, {}, {}, {}, {}});
}

DialogAnswer ScriptedDialogs::Confirm(const std::string& text, DialogButtons buttons) {
    calls_.push_back({DialogKind::Confirm, text, {}, {}, buttons, {}});
    DialogAnswer answer = PopFront(answers_).value_or(DefaultAnswer(buttons));
    if (!Offers(buttons, answer)) {
        throw std::logic_error("scripted answer is not a button of the question: " + text);
    }
    return answer;
}

std::string ScriptedDialogs::InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& defaultText) {
    calls_.push_back({DialogKind::Input, prompt, title, defaultText, {}, {}});
    std::optional<std::optional<std::string>> scripted = PopFront(inputs_);
    if (scripted && *scripted) return **scripted;
    return defaultText;
}

std::string ScriptedDialogs::CheckedInputBox(const std::string& title, const std::string& prompt,
                                             const std::string& defaultText, const InputCheck& check) {
    calls_.push_back({DialogKind::Input, prompt, title, defaultText, {}, {}});
    while (std::optional<std::optional<std::string>> scripted = PopFront(inputs_)) {
        if (!*scripted) break;  // cancelled
        const std::string& text = **scripted;
        if (text == defaultText) return text;
        std::string reason = check(text);
        if (reason.empty()) return text;
        calls_.push_back({DialogKind::Refusal, std::move(reason), title, text, {}, {}});
    }
    return defaultText;
}

std::string ScriptedDialogs::ChooseDirectory(const std::string& startDirectory) {
    calls_.push_back({DialogKind::Directory, {}, {}, startDirectory, {}, {}});
    return PopFront(directories_).value_or(std::string());
}

std::string ScriptedDialogs::ChooseSaveFile(const SaveFileOptions& options) {
    calls_.push_back({DialogKind::SaveFile, {}, options.title, options.initialFileName, {}, options});
    return PopFront(saveFiles_).value_or(std::string());
}

}  // namespace platform::testing
