#include "globe/data/Geodesy.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Points.h"

namespace globe {
namespace {

using testing::Deg;
constexpr long double GUPerMeter = 90'000.0L / 1'852.0L;

TGeoPoint Dms(int latD, int latM, long double latS, int longD, int longM, long double longS) {
  auto angle = [](int d, int m, long double s) {
    const long double sign = (d < 0 || m < 0 || s < 0) ? -1 : 1;
    return sign * (std::abs(d) + std::abs(m) / 60.0L + std::fabs(s) / 3600.0L);
  };
  return TGeoPoint(static_cast<int32_t>(std::lround(angle(longD, longM, longS) * Deg)),
                   static_cast<int32_t>(std::lround(angle(latD, latM, latS) * Deg)));
}

// Los Angeles (33 57 N, 118 24 W) and New York JFK (40 38 N, 73 47 W).
const TGeoPoint LAX = Dms(33, 57, 0, -118, 24, 0);
const TGeoPoint JFK = Dms(40, 38, 0, -73, 47, 0);
const TGeoPoint O(0, 0);

TEST(Geodesy, GreatCircleDistanceAndInitialBearingOnTheSphere) {
  // One degree of arc is 60 nautical miles on the meridian and on the equator; across the
  // 180-degree meridian the short way; antipodes are half the circumference.
  EXPECT_EQ(GreatCircleDistance(O, TGeoPoint(0, Deg)), 5'400'000);
  EXPECT_EQ(GreatCircleDistance(O, TGeoPoint(Deg, 0)), 5'400'000);
  EXPECT_EQ(GreatCircleDistance(O, O), 0);
  EXPECT_EQ(GreatCircleDistance(TGeoPoint(179 * Deg, 0), TGeoPoint(-179 * Deg, 0)), 2 * 5'400'000);
  EXPECT_EQ(GreatCircleDistance(O, TGeoPoint(GU_180_DEGREES, 0)), GU_180_DEGREES);
  EXPECT_NEAR(GreatCircleDistance(LAX, JFK) / 90'000.0, 2143.7, 0.1);  // 0.623585 rad of arc
  // Bearings grow westward: LAX to JFK is 65.89 degrees true, so -65.89 here; back from JFK
  // 273.8 true, i.e. 86.2 degrees west of north.
  EXPECT_EQ(InitialBearing(O, TGeoPoint(Deg, 0)), -486'000'000);
  EXPECT_EQ(InitialBearing(O, TGeoPoint(-Deg, 0)), 486'000'000);
  EXPECT_EQ(InitialBearing(O, TGeoPoint(0, Deg)), 0);
  EXPECT_EQ(std::abs(InitialBearing(O, TGeoPoint(0, -Deg))), GU_180_DEGREES);
  EXPECT_NEAR(InitialBearing(LAX, JFK) / static_cast<double>(Deg), -65.89, 0.02);
  EXPECT_NEAR(InitialBearing(JFK, LAX) / static_cast<double>(Deg), 86.2, 0.1);
}

TEST(Geodesy, DestinationPointFollowsBearingAndDistance) {
  const TGeoPoint west = DestinationPoint(O, 486'000'000, 1'000'000);
  EXPECT_NEAR(west.LongX, -1'000'000, 1);
  EXPECT_EQ(west.LatY, 0);
  const TGeoPoint north = DestinationPoint(O, 0, 5'400'000);
  EXPECT_EQ(north.LongX, 0);
  EXPECT_NEAR(north.LatY, 5'400'000, 1);
  // Across the 180-degree meridian the longitude comes back normalised.
  EXPECT_NEAR(DestinationPoint(TGeoPoint(179 * Deg, 0), -486'000'000, 2 * Deg).LongX, -179 * Deg, 2);
  // Going out along the initial bearing for the great-circle distance arrives (the radii of the
  // two formulas differ by 7e-8, about 13 GlobeUnit over this route).
  const TGeoPoint arrival = DestinationPoint(LAX, InitialBearing(LAX, JFK), GreatCircleDistance(LAX, JFK));
  EXPECT_NEAR(arrival.LongX, JFK.LongX, 100);
  EXPECT_NEAR(arrival.LatY, JFK.LatY, 100);
  EXPECT_EQ(arrival.Height, 0);
}

TEST(Geodesy, EllipsoidDistanceOnEverySpheroid) {
  // Zero from a point to itself, poles included; a degree of the equator is the semi-major axis
  // × pi/180 (the single update of lambda leaves an error of order f², about 70 GlobeUnit).
  for (int s = 0; s < SpheroidCount; ++s) {
    const auto spheroid = static_cast<TSpheroid>(s);
    EXPECT_EQ(EllipsoidDistance(LAX, LAX, spheroid), 0) << s;
    EXPECT_EQ(EllipsoidDistance(TGeoPoint(0, GU_90_DEGREES), TGeoPoint(0, GU_90_DEGREES), spheroid), 0) << s;
    EXPECT_NEAR(EllipsoidDistance(O, TGeoPoint(Deg, 0), spheroid),
                static_cast<double>(SpheroidParameters(spheroid).SemiMajorAxis * GUPi / 180), 80)
        << s;
  }
  // The WGS84 axis is 6,378,137 m and its flattening 1 / 298.257223563.
  EXPECT_NEAR(SpheroidParameters(TSpheroid::WGS84).SemiMajorAxis / static_cast<double>(GUPerMeter), 6'378'137, 1);
  EXPECT_DOUBLE_EQ(1 / SpheroidParameters(TSpheroid::WGS84).Flattening, 298.257223563);
}

TEST(Geodesy, EllipsoidDistanceMatchesKnownGeodesics) {
  // WGS84 meridian arc from the equator to 1 N: 110,574.389 m.
  EXPECT_NEAR(EllipsoidDistance(O, TGeoPoint(0, Deg), TSpheroid::WGS84), static_cast<double>(110'574.389L * GUPerMeter), 2);
  // Flinders Peak to Buninyong on GRS80: 54,972.271 m.
  const TGeoPoint flinders = Dms(-37, 57, 3.72030L, 144, 25, 29.52440L);
  const TGeoPoint buninyong = Dms(-37, 39, 10.15610L, 143, 55, 35.38390L);
  EXPECT_NEAR(EllipsoidDistance(flinders, buninyong, TSpheroid::GRS1980) / static_cast<double>(GUPerMeter), 54'972.271, 0.5);
  // The ellipsoid and the sphere agree within half a percent on a long route, either way round.
  EXPECT_NEAR(EllipsoidDistance(LAX, JFK, TSpheroid::WGS84) / double(GreatCircleDistance(LAX, JFK)), 1.0, 0.005);
  EXPECT_NEAR(EllipsoidDistance(JFK, LAX, TSpheroid::WGS84), EllipsoidDistance(LAX, JFK, TSpheroid::WGS84), 2);
}

}  // namespace
}  // namespace globe
