#pragma once

#include <string>
#include <string_view>

#include "platform/RegionalSettings.h"

namespace scenario {

// Day of month, hour and minute, two digits each ("241405").
std::string FormatTimeGroup(double dateTime);

// The date of a "StartDate" value YYYYMMDD at 00:00. Throws platform::EConvertError when a
// field is not a number or the date is impossible.
double StartDateFromText(std::string_view value);

// start plus the whole hour of a "StartHour" value. Throws platform::EConvertError when the
// value is not a number or not an hour 0..23.
double AddStartHour(double start, std::string_view value);

// A campaign always starts at 06:00 of its start day.
double CampaignStart(double start);

// The time label of a scenario: the default date-time text (the time omitted at midnight),
// a blank and the "hh:mm" time.
std::string ScenarioStartLabel(double start, const platform::RegionalSettings& settings);
// The time label of a campaign: the short date, a blank and the "hh:mm" time.
std::string CampaignStartLabel(double start, const platform::RegionalSettings& settings);

}  // namespace scenario
