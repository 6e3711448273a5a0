#include "scenario/ForceHeader.h"

#include <string>

#include "platform/IntegerText.h"
#include "scenario/LabelValue.h"

namespace scenario {

namespace {

std::optional<std::size_t> FirstNamingLine(const platform::TextLines& lines, std::string_view title) {
    const std::string key = "NAME=" + std::string(title);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (HasKey(lines[i], key)) return i;
    }
    return std::nullopt;
}

}  // namespace

TLineRange ForceHeaderLines(const platform::TextLines& lines, std::string_view title) {
    const std::optional<std::size_t> first = FirstNamingLine(lines, title);
    if (!first) return {lines.size(), lines.size()};
    std::size_t end = *first;
    while (end < lines.size() && !HasKey(lines[end], "CASECOUNT=")) ++end;
    return {*first, end};
}

std::optional<int> HeaderSpeed(const platform::TextLines& lines, TLineRange header,
                               platform::UserDialogs& dialogs) {
    std::optional<int> speed;
    for (std::size_t i = header.First; i < header.End && i < lines.size(); ++i) {
        if (HasKey(lines[i], "SPEED=")) speed = platform::StrToInt(ReadLabelValue(lines[i], "SPEED", dialogs));
    }
    return speed;
}

void ReplaceHeaderSpeed(platform::TextLines& lines, TLineRange header, int knots) {
    for (std::size_t i = header.First; i < header.End && i < lines.size(); ++i) {
        if (HasKey(lines[i], "SPEED=")) lines[i] = "SPEED=" + std::to_string(knots);
    }
}

std::optional<std::size_t> FindForceHeader(const platform::TextLines& lines, std::string_view title) {
    const std::optional<std::size_t> first = FirstNamingLine(lines, title);
    if (!first || *first == 0) return std::nullopt;
    return *first - 1;
}

}  // namespace scenario
