// The sun's position and the day, twilight and night classification of map points.
#include <gtest/gtest.h>

#include <limits>

#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/DateTime.h"
#include "scenario/DayPhase.h"

namespace scenario {
namespace {

using globe::TGeoPoint;

constexpr double kDeg = 5'400'000.0;

double At(int year, int month, int day, int hour, int minute) {
  return platform::EncodeDate(year, month, day) + platform::EncodeTime(hour, minute, 0, 0);
}

// The sun runs a quarter arc minute a second westward, over 180 degrees at midnight and over
// Greenwich at noon; its latitude swings between the tropics with the winter solstice south.
TEST(SubSolarPointTest, NoonAndMidnightAtTheSolstices) {
  const auto december = SubSolarPoint(At(1941, 12, 21, 12, 0));
  ASSERT_TRUE(december);
  EXPECT_EQ(december->LongX, 0);
  EXPECT_NEAR(december->LatY / kDeg, -23.43, 0.01);  // over the tropic of Capricorn

  const auto june = SubSolarPoint(At(1941, 6, 21, 0, 0));
  ASSERT_TRUE(june);
  EXPECT_EQ(june->LongX, 972'000'000);  // 180 degrees
  EXPECT_NEAR(june->LatY / kDeg, 23.43, 0.01);

  // 06:00: a quarter day after midnight, the sun is over 90 E; at 18:00 over 90 W.
  EXPECT_EQ(SubSolarPoint(At(1941, 6, 21, 6, 0))->LongX, 486'000'000);
  EXPECT_EQ(SubSolarPoint(At(1941, 6, 21, 18, 0))->LongX, -486'000'000);
}

TEST(SubSolarPointTest, MidMarchMorning) {
  // 84 days after 21 December 1940; 08:30 is 3150 arc minutes before noon: 52.5 E.
  const auto sun = SubSolarPoint(At(1941, 3, 15, 8, 30));
  ASSERT_TRUE(sun);
  EXPECT_EQ(sun->LongX, 3150 * 90'000);
  EXPECT_NEAR(sun->LatY / kDeg, -3.11, 0.01);
}

TEST(SubSolarPointTest, NoSunOutsideTheCalendar) {
  EXPECT_FALSE(SubSolarPoint(platform::EncodeDate(1, 6, 1)));  // no December of year 0
  EXPECT_FALSE(SubSolarPoint(3.0e6));                            // beyond the year 9999
  EXPECT_FALSE(SubSolarPoint(std::numeric_limits<double>::quiet_NaN()));
}

class DayPhaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.SetClientSize(600, 400);
    view.Projection().SetProjectionClass("TCartesianPrj");
    view.Projection().SetScaleFactor(0);  // the whole world
  }
  TDayPhase Phase(double longitude, double latitude, double time) const {
    return DayPhase(view.Projection(), TGeoPoint::FromDegrees(longitude, latitude), time);
  }
  globe::TVoduz4 view;
  const double morning = At(1941, 3, 15, 8, 30);  // sun over 52.5 E, 3.1 S
};

TEST_F(DayPhaseTest, AngleFromTheSunGivesDayTwilightOrNight) {
  EXPECT_EQ(Phase(52.5, -3.1, morning), dpDay);     // under the sun
  EXPECT_EQ(Phase(25, 35, morning), dpDay);         // Crete: 46 degrees away
  EXPECT_EQ(Phase(-32.5, 0, morning), dpDay);       // 85 degrees: sun low in the east
  EXPECT_EQ(Phase(-40.5, 0, morning), dpTwilight);  // 93 degrees: 3 below the horizon
  EXPECT_EQ(Phase(-47.5, 0, morning), dpNight);     // 100 degrees: 10 below
  EXPECT_EQ(Phase(-157.8, 21.3, morning), dpNight); // Hawaii: 145 degrees
  // Twelve hours on the sun stands over 127.5 W: Hawaii has day, Crete night.
  const double evening = morning + 0.5;
  EXPECT_EQ(Phase(-157.8, 21.3, evening), dpDay);
  EXPECT_EQ(Phase(25, 35, evening), dpNight);
}

TEST_F(DayPhaseTest, NoPhaseWithoutASunPosition) {
  EXPECT_EQ(Phase(25, 35, -1.0e7), dpNone);  // long before the year 1
  EXPECT_EQ(Phase(25, 35, std::numeric_limits<double>::infinity()), dpNone);
}

}  // namespace
}  // namespace scenario
