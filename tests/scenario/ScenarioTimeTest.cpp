#include <gtest/gtest.h>

#include "platform/ConvertError.h"
#include "platform/DateTime.h"
#include "scenario/ScenarioTime.h"

namespace scenario {
namespace {

// 1941-05-24 counted from 1899-12-30 (see the platform date tests).
constexpr double k24May1941 = 15120.0;

TEST(ScenarioStart, DateAndHourFromTheInformationFile) {
    double start = StartDateFromText("19410524");
    EXPECT_EQ(start, k24May1941);
    start = AddStartHour(start, "14");
    EXPECT_DOUBLE_EQ(start, k24May1941 + 14.0 / 24);
    EXPECT_EQ(CampaignStart(start), k24May1941 + 0.25);
    // Text after the eight digits is ignored; a blank before the hour is accepted.
    EXPECT_EQ(StartDateFromText("19410524xx"), k24May1941);
    EXPECT_DOUBLE_EQ(AddStartHour(k24May1941, " 7"), k24May1941 + 7.0 / 24);
}

TEST(ScenarioStart, RejectsBadDatesAndHours) {
    for (const char* bad : {"19410229", "19411301", "19410500", "194105", "", "1941O524", "00000101"}) {
        EXPECT_THROW(StartDateFromText(bad), platform::EConvertError) << bad;
    }
    for (const char* bad : {"24", "-1", "", "14 ", "2pm"}) {
        EXPECT_THROW(AddStartHour(k24May1941, bad), platform::EConvertError) << bad;
    }
}

TEST(FormatTimeGroup, DayHourMinuteTwoDigitsEach) {
    EXPECT_EQ(FormatTimeGroup(k24May1941 + 14.0 / 24 + 5.0 / 1440), "241405");
    // An arrival computed by adding hours lands on the whole minute despite rounding noise.
    double eta = k24May1941 + 14.0 / 24;
    for (int i = 0; i < 30; ++i) eta += 1.0 / 24 / 10;  // 30 steps of 6 minutes
    EXPECT_EQ(FormatTimeGroup(eta), "241700");
    EXPECT_EQ(FormatTimeGroup(platform::EncodeDate(1941, 6, 1) + 0.5 / 24), "010030");
}

TEST(StartLabels, ScenarioAndCampaignTexts) {
    platform::RegionalSettings settings;
    EXPECT_EQ(ScenarioStartLabel(k24May1941 + 14.0 / 24, settings), "24/05/1941 14:00:00 14:00");
    EXPECT_EQ(ScenarioStartLabel(k24May1941, settings), "24/05/1941 00:00");
    EXPECT_EQ(CampaignStartLabel(CampaignStart(k24May1941 + 14.0 / 24), settings), "24/05/1941 06:00");
    settings.dateSeparator = ".";
    settings.timeSeparator = ".";
    EXPECT_EQ(CampaignStartLabel(k24May1941 + 0.25, settings), "24.05.1941 06.00");
}

}  // namespace
}  // namespace scenario
