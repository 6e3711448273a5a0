// Geometry on the globe: angles, rounding, rects, vectors and rotations; distances, bearings and
// destinations on the sphere and on the spheroids; the land index and the great-circle points its
// leg test walks along.

#include "globe/data/GeoMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "Points.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/GreatCirclePath.h"
#include "globe/data/LandIndex.h"

namespace globe {
namespace {

using testing::Deg;
using testing::DegPoint;

constexpr long double Pi = GUPi;

double D(long double v) { return static_cast<double>(v); }

TEST(GeoMath, AnglesWrapOnceInverseTrigonometryIsSafeBeyondOneAndVectorHelpers) {
  for (auto [value, expected] : {std::pair{D(NormaliseDegrees(190)), -170.0}, {D(NormaliseDegrees(180)), 180.0},
                                 {D(NormaliseRadians(-Pi)), D(Pi)}, {D(NormaliseRadians(1.5L * Pi)), -0.5 * D(Pi)},
                                 {D(ArcSin(1.0000001L)), D(Pi / 2)}, {D(ArcSin(-2)), -D(Pi / 2)},
                                 {D(ArcCos(-1.5L)), D(Pi)}, {D(ArcCos(0.5L)), D(Pi / 3)}, {D(Hypot(3, -4)), 5.0}})
    EXPECT_NEAR(value, expected, 2e-15);
  EXPECT_EQ(std::tuple(Sign(0), Sign(-0.1L)), std::tuple(1, -1));
  // A cross product comes normalised; a vector too short to normalise stays as it is.
  const TMatrix3 m{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  EXPECT_EQ(std::tuple(D(Vec3Cross({2, 0, 0}, {0, 3, 0}).Z), D(Vec3Normalise({1e-6L, 0, 0}).X),
                       D(MatrixScale(m, 2)[1][1]), D(MatrixTimesVecRaw(m, {1, 0, -1}).Y),
                       D(MatrixTranspose(m)[0][2])),
            std::tuple(1.0, D(1e-6L), 10.0, -2.0, 7.0));
  const TVec3 n = MatrixTimesVec(m, {1, 0, 0});
  EXPECT_NEAR(D(Vec3Dot(n, n)), 1, 1e-15);
}

TEST(GeoMath, MulDivAndRounding) {
  // MulDiv: halves away from zero; -1 for a result that does not fit or a division by zero.
  EXPECT_EQ(std::tuple(MulDiv(5, 3, 2), MulDiv(-5, 3, 2), MulDiv(2'000'000'000, 2'000'000'000, 1'000'000'000),
                       MulDiv(1, 1, 0), MulDiv(1'944'000'000, 1'000'000'000, 1'944'000'000)),
            std::tuple(8, -8, -1, -1, 1'000'000'000));
  // Halves to even like the library, just off a half, and the ends of the range the shortcut serves.
  const long double below = std::nextafter(0.5L, 0.0L), limit = RoundHalfEvenLimit;
  for (long double v : {0.0L, -0.0L, 0.5L, -1.5L, 2.5L, below, -below, 1e-30L, 123456789.5L, 987654321.49999999L,
                        4294967296.5L, limit - 0.5L, -(limit - 1.5L), std::nextafter(limit, 0.0L)}) {
    EXPECT_EQ(RoundHalfEvenSmall(v), static_cast<int64_t>(std::rint(v))) << D(v);
    EXPECT_EQ(RoundHalfEvenExtended(v), std::rint(v)) << D(v);
  }
  for (auto [v, rounded] : {std::pair{1.5L, 2}, {-2.5L, -2}, {4'294'967'297.0L, 1},  // wraps like 32 bits
                            {std::numeric_limits<long double>::infinity(), 0}, {1e30L, 0}})
    EXPECT_EQ(RoundToInt(v), rounded) << D(v);
}

TEST(GeoMath, GeoToCartesianAxesAndBack) {
  const int32_t r = EarthRadiusGU;
  for (auto [point, axis] : {std::pair{TGeoPoint(0, 0), TPoint3D{0, 0, r}}, {DegPoint(-90, 0), {-r, 0, 0}},
                             {DegPoint(0, -90), {0, -r, 0}}, {TGeoPoint(180 * Deg, 0, 1000), {0, 0, -r - 1000}}})
    EXPECT_EQ(GeoToCartesian(point), axis) << point.LongX << " " << point.LatY;
  TGeoPoint target(123, 456, 789);
  CartesianToGeo({0, 1, 0}, target);  // Z is zero: the longitude is kept; truncated, 1 short of the pole
  EXPECT_EQ(std::tuple(target.LongX, target.LatY, target.Height), std::tuple(123, 485'999'999, 0));
  CartesianToGeo(Vec3Normalise(GeoToCartesianExact(DegPoint(-30, 40))), target);
  EXPECT_NEAR(target.LongX, -30 * Deg, 2);
  EXPECT_NEAR(target.LatY, 40 * Deg, 2);
}

TEST(GeoMath, RectsIgnoreEmptyOperandsAndSeeAcrossTheDateline) {
  const TGeoRect a(0, 0, 10, 10), b(-5, 20, 3, 3);
  EXPECT_EQ(std::tuple(RectUnion(TGeoRect(), a), RectUnion(a, TGeoRect()), RectUnion(a, b)),
            std::tuple(a, a, TGeoRect(-5, 0, 15, 23)));
  const TGeoRect r(10 * Deg, 10 * Deg, 10 * Deg, 10 * Deg), pacific(170 * Deg, 0, 20 * Deg, 10 * Deg);
  // The edge is outside; 175 W is inside a rectangle from 170 E through the shifted test.
  for (auto [rect, point, inside] : {std::tuple{r, DegPoint(15, 15), true}, {r, DegPoint(10, 15), false},
                                     {r, DegPoint(15, 20), false}, {pacific, DegPoint(-175, 5), true},
                                     {pacific, DegPoint(-165, 5), false}})
    EXPECT_EQ(PointInRect(point, rect), inside) << point.LongX;
}

// Device coordinates of the globe rotation: x to the right, y down, z away from the viewer.
TVec3 View(long double xRotation, long double yRotation, const TGeoPoint& p) {
  return MatrixTimesVecRaw(QuaternionToMatrix(QuaternionFromEuler(xRotation, yRotation, 0)), GeoToCartesianExact(p));
}

TEST(GeoMath, RotationsPutTheChosenPointAtTheCentreNorthUpAndKeepTheirAxis) {
  for (auto [lat, lon] : {std::pair{0, 0}, std::pair{30, 40}, std::pair{-50, -120}}) {
    const TVec3 centre = View(lat, lon, DegPoint(lon, lat));
    EXPECT_NEAR(D(Hypot(centre.X, centre.Y)), 0, 1e-3);
    EXPECT_NEAR(D(centre.Z), -EarthRadiusGU, 1e-3);  // facing the viewer
    const TVec3 north = View(lat, lon, DegPoint(lon, lat + 1)), east = View(lat, lon, DegPoint(lon + 1, lat));
    EXPECT_TRUE(north.Y < 0 && std::fabs(north.X) < 1e-3 && east.X > 0);  // up, and east to the right
  }
  const TVec3 axis = Vec3Normalise({1, 2, 3});
  const TVec3 image = MatrixTimesVecRaw(QuaternionToMatrix(QuaternionFromAxisAngle(axis, 0.7L)), axis);
  EXPECT_NEAR(D(image.X), D(axis.X), 1e-15);
  EXPECT_NEAR(D(image.Z), D(axis.Z), 1e-15);
  // A quarter turn moves a perpendicular vector by 90 degrees.
  const TMatrix3 quarter = QuaternionToMatrix(QuaternionFromAxisAngle({0, 1, 0}, Pi / 2));
  EXPECT_NEAR(D(Vec3Dot(MatrixTimesVecRaw(quarter, {1, 0, 0}), {1, 0, 0})), 0, 1e-15);
}

TEST(GeoMath, GeoToCartesianExactAgreesWithTheLibrarySineInEveryQuadrant) {
  // The quarter turns are reduced in integers; every quadrant, the boundaries between them and
  // longitudes outside -180..180 must give the sine and cosine of the whole angle.
  const long double r = EarthRadiusGU;
  for (int64_t longX = -2'100'000'000; longX <= 2'100'000'000; longX += 48'600'001) {
    for (int32_t latY : {-486'000'000, -243'000'000, -1, 0, 1, 243'000'000, 300'000'000, 486'000'000}) {
      const long double a = longX * GUToRadians, b = latY * GUToRadians;
      const TVec3 v = GeoToCartesianExact(TGeoPoint(static_cast<int32_t>(longX), latY));
      EXPECT_NEAR(D(v.X), D(r * std::cos(b) * std::sin(a)), 1e-6) << longX << " " << latY;
      EXPECT_NEAR(D(v.Y), D(r * std::sin(b)), 1e-6) << longX << " " << latY;
      EXPECT_NEAR(D(v.Z), D(r * std::cos(b) * std::cos(a)), 1e-6) << longX << " " << latY;
    }
  }
  // Whole quarter turns give exact axes.
  EXPECT_EQ(GeoToCartesianExact(TGeoPoint(-90 * Deg, 0)).X, -r);
  EXPECT_EQ(GeoToCartesianExact(TGeoPoint(180 * Deg, 0)).Z, -r);
}

// The rounded point is worked in doubles where that is safe: it must always be the rounding of
// the Extended point, also where a coordinate lies on a half (an odd radius at 30 degrees).
TEST(GeoMath, GeoToCartesianRoundsTheExtendedPoint) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX), height(-2'000'000, 2'000'000);
  std::vector<TGeoPoint> points;
  for (int i = 0; i < 200'000; ++i) points.emplace_back(any(random), any(random) / 5, i % 3 ? 0 : height(random));
  for (int32_t degrees = -360; degrees <= 360; degrees += 15)
    for (int32_t h : {0, 1, -1, 3, 1'000'001})
      points.insert(points.end(), {TGeoPoint(degrees * Deg, degrees * Deg / 4, h), TGeoPoint(0, degrees * Deg, h),
                                   TGeoPoint(degrees * Deg, 0, h)});
  int failures = 0;
  for (const TGeoPoint& p : points) {
    const TVec3 v = GeoToCartesianExact(p);
    const TPoint3D expected{RoundToInt(v.X), RoundToInt(v.Y), RoundToInt(v.Z)};
    if (GeoToCartesian(p) != expected && ++failures <= 5)
      ADD_FAILURE() << p.LongX << " " << p.LatY << " " << p.Height;
  }
  EXPECT_EQ(failures, 0);
}

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
  for (auto [from, to, distance] : {std::tuple{O, TGeoPoint(0, Deg), Deg}, {O, TGeoPoint(Deg, 0), Deg}, {O, O, 0},
                                     {TGeoPoint(179 * Deg, 0), TGeoPoint(-179 * Deg, 0), 2 * Deg},
                                     {O, TGeoPoint(GU_180_DEGREES, 0), GU_180_DEGREES}})
    EXPECT_EQ(GreatCircleDistance(from, to), distance) << to.LongX << " " << to.LatY;
  EXPECT_NEAR(GreatCircleDistance(LAX, JFK) / 90'000.0, 2143.7, 0.1);  // 0.623585 rad of arc
  // Bearings grow westward: LAX to JFK is 65.89 degrees true, so -65.89 here; back from JFK
  // 273.8 true, i.e. 86.2 degrees west of north.
  EXPECT_EQ(std::tuple(InitialBearing(O, TGeoPoint(Deg, 0)), InitialBearing(O, TGeoPoint(-Deg, 0)),
                       InitialBearing(O, TGeoPoint(0, Deg)), std::abs(InitialBearing(O, TGeoPoint(0, -Deg)))),
            std::tuple(-GU_90_DEGREES, GU_90_DEGREES, 0, GU_180_DEGREES));
  EXPECT_NEAR(InitialBearing(LAX, JFK) / static_cast<double>(Deg), -65.89, 0.02);
  EXPECT_NEAR(InitialBearing(JFK, LAX) / static_cast<double>(Deg), 86.2, 0.1);
}

TEST(Geodesy, DestinationPointFollowsBearingAndDistance) {
  const TGeoPoint west = DestinationPoint(O, GU_90_DEGREES, 1'000'000);
  EXPECT_NEAR(west.LongX, -1'000'000, 1);
  EXPECT_EQ(west.LatY, 0);
  // Across the 180-degree meridian the longitude comes back normalised.
  EXPECT_NEAR(DestinationPoint(TGeoPoint(179 * Deg, 0), -486'000'000, 2 * Deg).LongX, -179 * Deg, 2);
  // Going out along the initial bearing for the great-circle distance arrives (the radii of the
  // two formulas differ by 7e-8, about 13 GlobeUnit over this route).
  const TGeoPoint arrival = DestinationPoint(LAX, InitialBearing(LAX, JFK), GreatCircleDistance(LAX, JFK));
  EXPECT_NEAR(arrival.LongX, JFK.LongX, 100);
  EXPECT_NEAR(arrival.LatY, JFK.LatY, 100);
  EXPECT_EQ(arrival.Height, 0);
}

TEST(Geodesy, EllipsoidDistanceOnEverySpheroidAndKnownGeodesics) {
  // Zero from a point to itself, poles included; a degree of the equator is the semi-major axis
  // × pi/180 (the single update of lambda leaves an error of order f², about 70 GlobeUnit).
  for (int s = 0; s < SpheroidCount; ++s) {
    const auto spheroid = static_cast<TSpheroid>(s);
    EXPECT_EQ(EllipsoidDistance(TGeoPoint(0, GU_90_DEGREES), TGeoPoint(0, GU_90_DEGREES), spheroid), 0) << s;
    EXPECT_NEAR(EllipsoidDistance(O, TGeoPoint(Deg, 0), spheroid),
                D(SpheroidParameters(spheroid).SemiMajorAxis * Pi / 180), 80)
        << s;
  }
  // WGS84 meridian arc from the equator to 1 N: 110,574.389 m; Flinders Peak to Buninyong on
  // GRS80: 54,972.271 m.
  EXPECT_NEAR(EllipsoidDistance(O, TGeoPoint(0, Deg), TSpheroid::WGS84) / D(GUPerMeter), 110'574.389, 0.1);
  const TGeoPoint flinders = Dms(-37, 57, 3.72030L, 144, 25, 29.52440L);
  const TGeoPoint buninyong = Dms(-37, 39, 10.15610L, 143, 55, 35.38390L);
  EXPECT_NEAR(EllipsoidDistance(flinders, buninyong, TSpheroid::GRS1980) / D(GUPerMeter), 54'972.271, 0.5);
  // The ellipsoid and the sphere agree within half a percent on a long route.
  EXPECT_NEAR(EllipsoidDistance(LAX, JFK, TSpheroid::WGS84) / double(GreatCircleDistance(LAX, JFK)), 1.0, 0.005);
}

constexpr int32_t Mile = GlobeUnitsPerMinute;

TGeoPoint At(double lat, double lon) {
  return TGeoPoint(static_cast<int32_t>(lon * Deg), static_cast<int32_t>(lat * Deg));
}

std::vector<TGeoPoint> Box(double south, double west, double north, double east) {
  return {At(south, west), At(south, east), At(north, east), At(north, west)};
}

// An island 10 x 10 degrees at 10..20 N, 10..20 E with a lake at 14..16 N, 14..16 E; land
// either side of the 180-degree meridian cut into two rings; and a polar cap south of 80 S
// closed over the meridian as map files store it.
class LandIndexTest : public ::testing::Test {
 protected:
  LandIndexTest() {
    for (const auto& ring :
         {Box(10, 10, 20, 20), Box(14, 14, 16, 16), Box(-10, 170, 10, 180), Box(-10, -180, 10, -170)})
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

// A position exactly on a coastline is land whichever side the land lies on: the island's four
// sides, the lake's shore from the island and from the lake, the edges of the land cut at the
// 180-degree meridian. One unit off the coast it is what lies there.
TEST_F(LandIndexTest, APositionOnTheCoastlineIsLandOnEverySide) {
  const TGeoPoint onCoast[] = {At(15, 10), At(15, 20), At(10, 15), At(20, 15), At(15, 14), At(15, 16),
                               At(14, 15), At(16, 15), At(0, 170), At(0, -170), At(10, 175), At(-10, -175)};
  for (const TGeoPoint& p : onCoast) EXPECT_TRUE(land.IsLand(p)) << p.LatY << " " << p.LongX;
  const struct { TGeoPoint p; int32_t dLong, dLat; bool isLand; } offCoast[] = {
      {At(15, 20), 1, 0, false}, {At(15, 10), -1, 0, false}, {At(20, 15), 0, 1, false}, {At(10, 15), 0, -1, false},
      {At(15, 16), -1, 0, false}, {At(15, 16), 1, 0, true}, {At(0, 170), 1, 0, true}};
  for (const auto& c : offCoast)
    EXPECT_EQ(land.IsLand(TGeoPoint(c.p.LongX + c.dLong, c.p.LatY + c.dLat)), c.isLand) << c.p.LatY << " " << c.p.LongX;
  // An edge closed over the meridian is no coast along its latitude on the far side of the world.
  TLandIndex across;
  across.AddRing(Box(-10, 170, 10, -170));
  EXPECT_FALSE(across.IsLand(At(10, 0)));
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
    EXPECT_EQ(land.LegCrossesLand(leg.From, leg.To, leg.SkipFrom, leg.SkipTo), leg.Crosses)
        << leg.From.LatY << " " << leg.To.LatY;
}

// Long edges, checked against every edge in turn: a ring's edges found by the index's cells are
// all the edges a question must see. Triangles with corners anywhere between 89 W and 89 E and
// 85 S and 85 N, and the corner-to-corner edges of a crafted map, which a grid over the edges'
// bounds would file in a quarter of the globe's cells each.
class LongEdgeLandTest : public ::testing::Test {
 protected:
  struct TEdge {
    TGeoPoint From, To;
  };
  LongEdgeLandTest() {
    std::mt19937 random(31);
    auto coordinate = [&](int limit) { return static_cast<int32_t>(random() % (2u * limit * Deg + 1)) - limit * Deg; };
    for (int i = 0; i < 60; ++i) {
      std::vector<TGeoPoint> ring;
      for (int k = 0; k < 3; ++k) ring.emplace_back(coordinate(89), coordinate(85));
      AddRing(ring);
    }
    for (int i = 0; i < 20; ++i) AddRing({DegPoint(-89, -85 + i), DegPoint(89, 85 - i), DegPoint(89, 85 - i - 1)});
  }
  void AddRing(const std::vector<TGeoPoint>& ring) {
    land.AddRing(ring);
    rings.push_back(ring);
    for (std::size_t k = 0; k < ring.size(); ++k) edges.push_back({ring[k], ring[(k + 1) % ring.size()]});
  }
  // Inside an odd number of rings: the edges a ray toward the east crosses.
  bool IsLand(const TGeoPoint& p) const {
    bool inside = false;
    for (const auto& [a, b] : edges) {
      if ((a.LatY > p.LatY) == (b.LatY > p.LatY)) continue;
      const long double x = a.LongX + static_cast<long double>(p.LatY - int64_t{a.LatY}) * (int64_t{b.LongX} - a.LongX) /
                                          (int64_t{b.LatY} - a.LatY);
      if (x > p.LongX) inside = !inside;
    }
    return inside;
  }
  int32_t CoastDistance(const TGeoPoint& p, int32_t limit) const {
    const long double cosLat = std::cos(p.LatY * GUToRadians);
    long double best = limit;
    for (const auto& [a, b] : edges) {
      const long double ax = (a.LongX - int64_t{p.LongX}) * cosLat, ay = a.LatY - int64_t{p.LatY};
      const long double bx = (b.LongX - int64_t{p.LongX}) * cosLat, by = b.LatY - int64_t{p.LatY};
      const long double dx = bx - ax, dy = by - ay;
      const long double t = std::clamp(-(ax * dx + ay * dy) / (dx * dx + dy * dy), 0.0L, 1.0L);
      best = std::min(best, std::hypot(ax + t * dx, ay + t * dy));
    }
    return static_cast<int32_t>(std::rint(best));
  }
  // Over land where it starts, or where a chord of its path meets an edge (none crosses the
  // 180-degree meridian here).
  bool LegCrossesLand(const TGeoPoint& a, const TGeoPoint& b) const {
    const std::vector<TGeoPoint> path = GreatCirclePath(a, b, 0, 1, 2 * Mile);
    if (IsLand(path.front())) return true;
    auto turn = [](const TGeoPoint& p, const TGeoPoint& q, const TGeoPoint& r) {
      const int64_t cross = (int64_t{q.LongX} - p.LongX) * (int64_t{r.LatY} - p.LatY) -
                            (int64_t{q.LatY} - p.LatY) * (int64_t{r.LongX} - p.LongX);
      return (cross > 0) - (cross < 0);
    };
    auto within = [](const TGeoPoint& p, const TGeoPoint& q, const TGeoPoint& r) {
      return std::min(p.LongX, q.LongX) <= r.LongX && r.LongX <= std::max(p.LongX, q.LongX) &&
             std::min(p.LatY, q.LatY) <= r.LatY && r.LatY <= std::max(p.LatY, q.LatY);
    };
    for (std::size_t i = 1; i < path.size(); ++i) {
      const TGeoPoint &p = path[i - 1], &q = path[i];
      for (const auto& [e, f] : edges) {
        const int d1 = turn(e, f, p), d2 = turn(e, f, q), d3 = turn(p, q, e), d4 = turn(p, q, f);
        if ((d1 * d2 < 0 && d3 * d4 < 0) || (d1 == 0 && within(e, f, p)) || (d2 == 0 && within(e, f, q)) ||
            (d3 == 0 && within(p, q, e)) || (d4 == 0 && within(p, q, f)))
          return true;
      }
    }
    return false;
  }
  TLandIndex land;
  std::vector<std::vector<TGeoPoint>> rings;
  std::vector<TEdge> edges;
};

TEST_F(LongEdgeLandTest, EdgesAreFiledOnlyWhereTheyRunAndEveryQuestionStillFindsThem) {
  // An edge runs through at most every column once and every row with a column either side.
  EXPECT_FALSE(land.TooLarge());
  EXPECT_LE(land.CellEntryCount(), land.EdgeCount() * (720 + 3 * 360));
  std::mt19937 random(7);
  auto degrees = [&](int limit) { return static_cast<int>(random() % (2u * limit + 1)) - limit; };
  for (int i = 0; i < 300; ++i) {
    // Whole and half degrees lie on cell borders.
    const TGeoPoint p = i % 2 ? TGeoPoint(degrees(100) * Deg / 2, degrees(170) * Deg / 2)
                              : At(degrees(88000) / 1000.0, degrees(100000) / 1000.0);
    ASSERT_EQ(land.IsLand(p), IsLand(p)) << p.LatY << " " << p.LongX;
    ASSERT_EQ(land.CoastDistance(p, 200 * Mile), CoastDistance(p, 200 * Mile)) << p.LatY << " " << p.LongX;
  }
  for (int i = 0; i < 30; ++i) {
    const TGeoPoint a = At(degrees(80), degrees(100));
    const TGeoPoint b = TGeoPoint(a.LongX + degrees(30) * Deg, a.LatY + degrees(10) * Deg / 2);
    ASSERT_EQ(land.LegCrossesLand(a, b, 0, 0), LegCrossesLand(a, b)) << a.LatY << " " << b.LatY;
  }
}

TEST_F(LongEdgeLandTest, AnIndexBeyondItsCapFindsNoLand) {
  TLandIndex capped(land.CellEntryCount() - 1), enough(land.CellEntryCount());
  for (const auto& ring : rings) {
    capped.AddRing(ring);
    enough.AddRing(ring);
  }
  EXPECT_FALSE(enough.TooLarge());
  EXPECT_TRUE(capped.TooLarge());
  EXPECT_EQ(capped.CellEntryCount(), 0u);
  const TGeoPoint onLand = At(0, 0), far = At(-60, 80);
  ASSERT_TRUE(IsLand(onLand) || LegCrossesLand(onLand, far));
  EXPECT_FALSE(capped.IsLand(onLand));
  EXPECT_FALSE(capped.LegCrossesLand(onLand, far, 0, 0));
  EXPECT_EQ(capped.CoastDistance(onLand, 20 * Mile), 20 * Mile);
}

}  // namespace
}  // namespace globe
