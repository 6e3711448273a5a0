#include "globe/view/AntiMeridianCut.h"

#include <gtest/gtest.h>

namespace globe {
namespace {

constexpr int32_t Deg = 5'400'000;

TPointStore Chain(std::initializer_list<std::pair<int32_t, int32_t>> degrees) {
  TPointStore store;
  for (const auto& [lon, lat] : degrees) store.Add(TGeoPoint(lon * Deg, lat * Deg));
  return store;
}

TEST(AntiMeridianCut, SideIsTheQuarterSeenFromTheCentralMeridian) {
  EXPECT_EQ(TAntiMeridianCutter::Side(170 * Deg, 0), 1);
  EXPECT_EQ(TAntiMeridianCutter::Side(-170 * Deg, 0), -1);
  EXPECT_EQ(TAntiMeridianCutter::Side(89 * Deg, 0), 0);
  EXPECT_EQ(TAntiMeridianCutter::Side(180 * Deg, 0), 2);
  // Seen from 90 degrees east, longitude -100 lies 170 degrees further east.
  EXPECT_EQ(TAntiMeridianCutter::Side(-100 * Deg, 90 * Deg), 1);
}

TEST(AntiMeridianCut, CrossingTheDatelineSplitsAtTheInterpolatedLatitude) {
  TAntiMeridianCutter cutter;
  ASSERT_EQ(cutter.Cut(Chain({{170, 10}, {-170, 20}}), 0), 2);
  const TPointStore& east = cutter.Piece(0);
  const TPointStore& west = cutter.Piece(1);
  ASSERT_EQ(east.Count(), 2);
  ASSERT_EQ(west.Count(), 2);
  // Half way in longitude, so half way in latitude; each end 2 GlobeUnit inside its side.
  EXPECT_EQ(east.Point(1), TGeoPoint(972'000'000 - 2, 15 * Deg));
  EXPECT_EQ(west.Point(0), TGeoPoint(-972'000'000 + 2, 15 * Deg));
  EXPECT_EQ(west.Point(1), TGeoPoint(-170 * Deg, 20 * Deg));

  // A quarter of the way: 175 -> -165 crosses 5 of 20 degrees after the start.
  ASSERT_EQ(cutter.Cut(Chain({{175, 0}, {-165, 40}}), 0), 2);
  EXPECT_EQ(cutter.Piece(0).Point(1).LatY, 10 * Deg);
}

TEST(AntiMeridianCut, CrossingTheCentralMeridianDoesNotSplit) {
  TAntiMeridianCutter cutter;
  EXPECT_EQ(cutter.Cut(Chain({{-100, 0}, {-10, 5}, {10, 5}, {100, 0}}), 0), 1);
  EXPECT_EQ(cutter.Piece(0).Count(), 4);
  EXPECT_EQ(cutter.Cut(TPointStore(), 0), 0);
}

TEST(AntiMeridianCut, FollowsTheCentralMeridian) {
  // Central meridian 90 E: the cut lies at 90 W.
  TAntiMeridianCutter cutter;
  ASSERT_EQ(cutter.Cut(Chain({{-80, 0}, {-100, 0}}), 90 * Deg), 2);
  EXPECT_EQ(cutter.Piece(0).Point(1).LongX, -90 * Deg + 2);
  EXPECT_EQ(cutter.Piece(1).Point(0).LongX, -90 * Deg - 2);
  EXPECT_EQ(cutter.Cut(Chain({{170, 0}, {-170, 0}}), 90 * Deg), 1);
}

TEST(AntiMeridianCut, LastPieceJoinsTheFirstAroundAPole) {
  TAntiMeridianCutter cutter;
  ASSERT_EQ(cutter.Cut(Chain({{0, -80}, {120, -80}, {-120, -80}, {0, -80}}), 0), 2);
  cutter.JoinLastToFirst();
  ASSERT_EQ(cutter.Count(), 1);
  const TPointStore& ring = cutter.Piece(0);
  ASSERT_EQ(ring.Count(), 6);
  EXPECT_EQ(ring.Point(0).LongX, -972'000'000 + 2);
  EXPECT_EQ(ring.Point(1).LongX, -120 * Deg);
  EXPECT_EQ(ring.Point(5).LongX, 972'000'000 - 2);
  // A second cut reuses the pieces.
  EXPECT_EQ(cutter.Cut(Chain({{1, 1}}), 0), 1);
  EXPECT_EQ(cutter.Piece(0).Count(), 1);
}

}  // namespace
}  // namespace globe
