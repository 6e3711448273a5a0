#include "scenario/ScenarioTime.h"

#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/IntegerText.h"

namespace scenario {

namespace {

// Characters [start, start + count) of the text, as far as it reaches.
std::string_view Part(std::string_view text, std::size_t start, std::size_t count) {
    return start < text.size() ? text.substr(start, count) : std::string_view();
}

}  // namespace

std::string FormatTimeGroup(double dateTime) { return platform::FormatDateTime("ddhhnn", dateTime); }

double StartDateFromText(std::string_view value) {
    int year = platform::StrToInt(Part(value, 0, 4));
    int month = platform::StrToInt(Part(value, 4, 2));
    int day = platform::StrToInt(Part(value, 6, 2));
    return platform::EncodeDate(year, month, day);
}

double AddStartHour(double start, std::string_view value) {
    return platform::CombineDateTime(start, platform::EncodeTime(platform::StrToInt(value), 0, 0, 0));
}

double CampaignStart(double start) {
    return platform::CombineDateTime(platform::DateOf(start), platform::EncodeTime(6, 0, 0, 0));
}

std::string ScenarioStartLabel(double start, const platform::RegionalSettings& settings) {
    return platform::DateTimeToText(start, settings) + " " +
           platform::FormatDateTime("hh:mm", start, settings);
}

std::string CampaignStartLabel(double start, const platform::RegionalSettings& settings) {
    return platform::DateToText(start, settings) + " " +
           platform::FormatDateTime("hh:mm", start, settings);
}

}  // namespace scenario
