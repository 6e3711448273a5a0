// The land index on hand-made rings: inside and outside, holes, distance to the coast, legs that
// cross a coast or pass it, rings cut at the 180-degree meridian and rings round a pole; and the
// great-circle points the leg test walks along.

#include "globe/data/LandIndex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/GreatCirclePath.h"

namespace globe {
namespace {



constexpr int32_t Deg = GlobeUnitsPerDegree;
constexpr int32_t Mile = GlobeUnitsPerMinute;

TGeoPoint At(double lat, double lon) { return TGeoPoint(static_cast<int32_t>(lon * Deg), static_cast<int32_t>(lat * Deg)); }

std::vector<TGeoPoint> Box(double south, double west, double north, double east) {
  return {At(south, west), At(south, east), At(north, east), At(north, west)};
}

// An island 10 x 10 degrees at 10..20 N, 10..20 E with a lake at 14..16 N, 14..16 E; land
// either side of the 180-degree meridian cut into two rings; and a polar cap south of 80 S
// closed over the meridian as map files store it.
class LandIndexTest : public ::testing::Test {
 protected:
  LandIndexTest() {
    for (const auto& ring : {Box(10, 10, 20, 20), Box(14, 14, 16, 16), Box(-10, 170, 10, 180), Box(-10, -180, 10, -170)})
      land.AddRing(ring);
    std::vector<TGeoPoint> cap;
    for (int lon = -180; lon <= 180; lon += 10) cap.push_back(At(-80, lon));
    land.AddRing(cap);
  }
  TLandIndex land;
};

TEST_F(LandIndexTest, PointsInsideAnOddNumberOfRingsAreLand) {
  // The lake is water; the cap encloses its pole.
  for (auto [lat, lon, isLand] : {std::tuple{12.0, 12.0, true}, {15, 15, false}, {25, 15, false}, {15, 25, false},
                                  {0, 175, true}, {0, -175, true}, {0, 179.999, true}, {0, 160, false},
                                  {-85, 0, true}, {-89.9, 100, true}, {-70, 0, false}, {85, 0, false}})
    EXPECT_EQ(land.IsLand(At(lat, lon)), isLand) << lat << " " << lon;
}

TEST_F(LandIndexTest, CoastDistanceIgnoresTheMeridianCut) {
  // One degree of latitude is 60 miles, a degree of longitude at 15 N 60 cos 15 degrees; the lake
  // shore counts as coast; beside the meridian the nearest coast is the land's north edge, not
  // the cut.
  for (auto [lat, lon, miles] : {std::tuple{11.0, 12.0, 60.0}, {15, 13, 57.96}, {21, 15, 60}, {9, 179.9, 60}})
    EXPECT_NEAR(land.CoastDistance(At(lat, lon), 200 * Mile), miles * Mile, Mile / 10) << lat << " " << lon;
  EXPECT_EQ(land.CoastDistance(At(40, 40), 20 * Mile), 20 * Mile);  // nothing within the limit: the limit
}

TEST_F(LandIndexTest, LegsCrossingOrPassingTheCoastTheMeridianOrThePoles) {
  const struct {
    TGeoPoint From, To;
    int32_t SkipFrom, SkipTo;
    bool Crosses;
  } legs[] = {
      {At(15, 5), At(15, 25), 0, 0, true},     // over the island (and its lake)
      {At(5, 5), At(5, 25), 0, 0, false},      // south of it
      {At(12, 12), At(18, 18), 0, 0, true},    // all on land, touching the lake
      {At(14.5, 14.5), At(15.5, 15.5), 0, 0, false},  // within the lake
      // The ends skipped: a leg that leaves the island's coast 1 degree inland counts only past it.
      {At(11, 15), At(5, 15), 0, 0, true},
      {At(11, 15), At(5, 15), 61 * Mile, 0, false},
      {At(15, 5), At(15, 25), 700 * Mile, 700 * Mile, false},  // skipping more than the whole leg
      {At(20, 175), At(-20, -175), 0, 0, true},  // over the land at the meridian
      {At(20, 175), At(20, -175), 0, 0, false},  // north of it
      {At(85, 0), At(85, 180), 0, 0, false},     // over the north pole: no land there
      {At(-75, 0), At(-75, 180), 0, 0, true},    // over the south pole: the cap
  };
  for (const auto& leg : legs)
    EXPECT_EQ(land.LegCrossesLand(leg.From, leg.To, leg.SkipFrom, leg.SkipTo), leg.Crosses) << leg.From.LatY << " " << leg.To.LatY;
}

TEST(GreatCirclePath, PointsLieOnTheCircleAndCloseTogether) {
  const std::vector<TGeoPoint> equator = GreatCirclePath(At(0, 0), At(0, 10), 0, 1, 30 * Mile);  // the equator itself
  ASSERT_EQ(equator.size(), 21u);
  for (const TGeoPoint& p : equator) EXPECT_EQ(p.LatY, 0);
  EXPECT_EQ(equator.back().LongX, 10 * Deg);
  // Between two points on 60 N the circle bulges north of the parallel.
  const TGeoPoint middle = GreatCirclePoint(At(60, 0), At(60, 40), 0.5L);
  EXPECT_NEAR(middle.LongX, 20 * Deg, 2);
  EXPECT_GT(middle.LatY, 61 * Deg);
  // Fractions: the part from 25 % to 75 % of a leg.
  const std::vector<TGeoPoint> part = GreatCirclePath(At(0, 0), At(0, 8), 0.25L, 0.75L, 600 * Mile);
  EXPECT_EQ(part.front().LongX, 2 * Deg);
  EXPECT_EQ(part.back().LongX, 6 * Deg);
  // Over the pole, neighbours stay within half a degree of longitude or a hundredth of a mile.
  const std::vector<TGeoPoint> polar = GreatCirclePath(At(89, 10), At(89, -170), 0, 1, 30 * Mile);
  for (std::size_t i = 1; i < polar.size(); ++i) {
    const int64_t step = std::abs(int64_t{polar[i].LongX} - polar[i - 1].LongX);
    EXPECT_TRUE(step > GU_180_DEGREES || step <= Deg / 2 || GreatCircleDistance(polar[i - 1], polar[i]) <= Mile / 100 + 2) << i;
  }
}

}  // namespace
}  // namespace globe
