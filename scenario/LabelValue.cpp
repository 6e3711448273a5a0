#include "scenario/LabelValue.h"

namespace scenario {

std::string ReadLabelValue(std::string_view line, std::string_view expectedLabel,
                           platform::UserDialogs& dialogs) {
    std::size_t equals = line.find('=');
    std::string_view label;
    std::string_view value = line;
    if (equals == std::string_view::npos) {
        dialogs.ShowMessage("Error in file data format! Missing \"=\"!\rLine: " + std::string(line));
    } else {
        label = line.substr(0, equals);
        value = line.substr(equals + 1);
    }
    if (!expectedLabel.empty() && expectedLabel != label) {
        dialogs.ShowMessage("Error reading data line!\rSearched label: " + std::string(expectedLabel) +
                            "\r" + "Actual label: " + std::string(label));
        return {};
    }
    return std::string(value.substr(0, kMaxValueLength));
}

}  // namespace scenario
