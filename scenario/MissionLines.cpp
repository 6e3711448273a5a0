#include "scenario/MissionLines.h"

#include "scenario/LabelValue.h"

namespace scenario {

std::string_view Trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool EndsCaseLines(std::string_view line) {
    return HasKey(line, "CASE") || line == "ENDMISSION" || IsBlankLine(line);
}

}  // namespace scenario
