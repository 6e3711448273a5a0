// Outlines of closed shapes on the globe with their hidden points pushed onto the horizon (a
// disc of radius 100 about the origin).

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "globe/view/HorizonRing.h"

namespace globe {
namespace {

constexpr long double kRadius = 100;

// A point of the horizon at `degrees`.
THorizonRing::TPointXY OnHorizon(long double degrees) {
  const long double a = degrees * std::numbers::pi_v<long double> / 180;
  return {kRadius * std::cos(a), kRadius * std::sin(a)};
}

void AddHidden(THorizonRing& ring, long double degrees) {
  const auto p = OnHorizon(degrees);
  ring.Add(p.X, p.Y, true);
}

long double Angle(const THorizonRing::TPointXY& p) {
  return std::atan2(p.Y, p.X) * 180 / std::numbers::pi_v<long double>;
}

TEST(HorizonRingTest, FollowsTheHorizonTheShortWayBetweenPushedPoints) {
  THorizonRing ring;
  ring.Add(50, 0, false);
  AddHidden(ring, 10);
  AddHidden(ring, 170);  // 160 degrees on: a chord would cut the disc
  ring.Add(-50, 10, false);
  const auto& followed = ring.Follow(kRadius);
  // 160 degrees in steps of at most 2: 79 points between the two pushed ones.
  ASSERT_EQ(followed.size(), 4u + 79u);
  for (std::size_t i = 1; i + 1 < followed.size() - 1; ++i) {
    EXPECT_NEAR(std::hypot(followed[i].X, followed[i].Y), kRadius, 1e-9);
    EXPECT_LE(Angle(followed[i + 1]) - Angle(followed[i]), 2.0001L);
    EXPECT_GT(Angle(followed[i + 1]), Angle(followed[i]));  // counter-clockwise, the short way
  }
  EXPECT_EQ(ring.Winding(), 0);
}

TEST(HorizonRingTest, WhollyHiddenShapeIsNothingOrTheWholeHorizon) {
  THorizonRing ring;
  for (int degrees = 0; degrees < 360; degrees += 30) AddHidden(ring, degrees);
  ring.Follow(kRadius);
  EXPECT_EQ(std::abs(ring.Winding()), 1);
  EXPECT_TRUE(ring.Mended(false, kRadius).empty());
  const auto& whole = ring.Mended(true, kRadius);
  ASSERT_GE(whole.size(), 180u);
  for (const auto& p : whole) EXPECT_NEAR(std::hypot(p.X, p.Y), kRadius, 1e-9);
}

TEST(HorizonRingTest, HorizonRunWindingRoundTheMiddleIsTakenTheOtherWay) {
  // A shape visible at the right of the disc whose hidden part runs once round the horizon.
  THorizonRing ring;
  ring.Add(60, -10, false);
  ring.Add(60, 10, false);
  for (int degrees = 20; degrees <= 340; degrees += 20) AddHidden(ring, degrees);
  ring.Follow(kRadius);
  ASSERT_EQ(std::abs(ring.Winding()), 1);
  // It does not hold the middle: the run goes back from 20 to 340 degrees the short way.
  const auto& mended = ring.Mended(false, kRadius);
  ASSERT_GE(mended.size(), 4u);
  EXPECT_EQ(mended[0].Y, -10);
  EXPECT_EQ(mended[1].Y, 10);
  EXPECT_NEAR(Angle(mended[2]), 20, 1e-9);
  EXPECT_NEAR(Angle(mended.back()), -20, 1e-9);
  for (std::size_t i = 3; i < mended.size(); ++i) {
    const long double step = Angle(mended[i - 1]) - Angle(mended[i]);
    EXPECT_GT(step, 0);
    EXPECT_LE(step, 2.0001L);
  }
  // Holding the middle, the same outline is right as it is.
  EXPECT_EQ(ring.Mended(true, kRadius).size(), ring.Follow(kRadius).size());
}

}  // namespace
}  // namespace globe
