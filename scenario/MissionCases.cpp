#include "scenario/MissionCases.h"

#include "platform/PathNames.h"
#include "scenario/LabelValue.h"
#include "scenario/MissionLines.h"

namespace scenario {

namespace {

// A line at which the searches for a case give up.
bool EndsSearch(std::string_view line) { return line == "ENDMISSION" || IsBlankLine(line); }

}  // namespace

std::optional<std::size_t> FindForceNameLine(const platform::TextLines& lines, std::string_view title) {
    const std::string wanted = "NAME=" + std::string(title);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (platform::SameNameIgnoringCase(lines[i], wanted)) return i;
    }
    return std::nullopt;
}

std::size_t CaseLinesEnd(const platform::TextLines& lines, std::size_t first) {
    std::size_t i = first;
    while (i < lines.size() && !EndsCaseLines(lines[i])) ++i;
    return i;
}

std::optional<TLineRange> LocateCase(const platform::TextLines& lines, std::size_t nameLine, int n) {
    std::size_t i = nameLine + 1;
    for (; i < lines.size() && !HasKey(lines[i], "CASECOUNT"); ++i) {
        if (EndsSearch(lines[i])) return std::nullopt;
    }
    const std::string header = "CASE" + std::to_string(n);
    for (; i < lines.size() && lines[i] != header; ++i) {
        if (EndsSearch(lines[i])) return std::nullopt;
    }
    if (i >= lines.size()) return std::nullopt;
    return TLineRange{i + 1, CaseLinesEnd(lines, i + 1)};
}

TCaseBlock FindCaseBlock(const platform::TextLines& lines, std::string_view title, int n) {
    TCaseBlock block;
    const std::optional<std::size_t> nameLine = FindForceNameLine(lines, title);
    if (!nameLine) return block;
    const std::string header = "CASE" + std::to_string(n);
    std::size_t i = *nameLine + 1;
    for (;; ++i) {
        if (i >= lines.size()) {
            block.MissingEnd = true;
            return block;
        }
        if (HasKey(lines[i], "ENDMISSION")) {
            block.FirstLine = block.LastLine = i;
            return block;
        }
        if (HasKey(lines[i], header)) break;
    }
    block.FirstLine = i;
    do {
        block.Lines.push_back(lines[i]);
        block.LastLine = i;
        ++i;
    } while (i < lines.size() && !HasKey(lines[i], "CASE") && !HasKey(lines[i], "ENDMISSION"));
    return block;
}

void StoreCaseBlock(platform::TextLines& lines, std::size_t firstLine, std::size_t lastLine,
                    const platform::TextLines& caseList) {
    if (firstLine > lines.size()) return;
    if (firstLine <= lastLine) {
        if (lastLine >= lines.size()) return;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(firstLine),
                    lines.begin() + static_cast<std::ptrdiff_t>(lastLine) + 1);
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(firstLine), caseList.begin(), caseList.end());
}

}  // namespace scenario
