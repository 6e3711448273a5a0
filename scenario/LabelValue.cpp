#include "scenario/LabelValue.h"

namespace scenario {

std::string MissingEqualsMessage(std::string_view line) {
    return "Error in file data format! Missing \"=\"!\rLine: " + std::string(line);
}

std::string WrongLabelMessage(std::string_view expectedLabel, std::string_view actualLabel) {
    return "Error reading data line!\rSearched label: " + std::string(expectedLabel) + "\r" + "Actual label: " +
           std::string(actualLabel);
}

std::string ReadLabelValue(std::string_view line, std::string_view expectedLabel,
                           platform::UserDialogs& dialogs) {
    std::size_t equals = line.find('=');
    std::string_view label;
    std::string_view value = line;
    if (equals == std::string_view::npos) {
        dialogs.ShowMessage(MissingEqualsMessage(line));
    } else {
        label = line.substr(0, equals);
        value = line.substr(equals + 1);
    }
    if (!expectedLabel.empty() && expectedLabel != label) {
        dialogs.ShowMessage(WrongLabelMessage(expectedLabel, label));
        return {};
    }
    return std::string(value.substr(0, kMaxValueLength));
}

}  // namespace scenario
