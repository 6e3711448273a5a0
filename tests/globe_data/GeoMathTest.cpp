#include "globe/data/GeoMath.h"

#include <gtest/gtest.h>

#include <limits>

namespace globe {
namespace {

constexpr int32_t Deg = GlobeUnitsPerDegree;
constexpr long double Pi = GUPi;

TEST(GeoMath, AngleNormalisationWrapsOnce) {
  EXPECT_DOUBLE_EQ(static_cast<double>(NormaliseDegrees(190)), -170);
  EXPECT_DOUBLE_EQ(static_cast<double>(NormaliseDegrees(-190)), 170);
  EXPECT_DOUBLE_EQ(static_cast<double>(NormaliseDegrees(180)), 180);
  EXPECT_DOUBLE_EQ(static_cast<double>(NormaliseRadians(-Pi)), static_cast<double>(Pi));
  EXPECT_DOUBLE_EQ(static_cast<double>(NormaliseRadians(Pi)), static_cast<double>(Pi));
  EXPECT_NEAR(static_cast<double>(NormaliseRadians(1.5L * Pi)), -0.5 * static_cast<double>(Pi), 1e-15);
}

TEST(GeoMath, InverseTrigonometryIsSafeAtAndBeyondOne) {
  EXPECT_DOUBLE_EQ(static_cast<double>(ArcSin(1.0000001L)), static_cast<double>(Pi / 2));
  EXPECT_DOUBLE_EQ(static_cast<double>(ArcSin(-2)), -static_cast<double>(Pi / 2));
  EXPECT_NEAR(static_cast<double>(ArcSin(0.5L)), static_cast<double>(Pi / 6), 1e-15);
  EXPECT_DOUBLE_EQ(static_cast<double>(ArcCos(-1.5L)), static_cast<double>(Pi));
  EXPECT_DOUBLE_EQ(static_cast<double>(ArcCos(1)), 0);
  EXPECT_NEAR(static_cast<double>(ArcCos(0.5L)), static_cast<double>(Pi / 3), 1e-15);
  EXPECT_DOUBLE_EQ(static_cast<double>(Hypot(3, -4)), 5);
  EXPECT_DOUBLE_EQ(static_cast<double>(Hypot(0, -4)), 4);
  EXPECT_EQ(Sign(0), 1);
  EXPECT_EQ(Sign(-0.1L), -1);
}

TEST(GeoMath, MulDivRoundsHalvesAwayFromZeroAndFlagsFailure) {
  EXPECT_EQ(MulDiv(5, 3, 2), 8);     // 7.5
  EXPECT_EQ(MulDiv(-5, 3, 2), -8);   // -7.5
  EXPECT_EQ(MulDiv(7, 1, 3), 2);     // 2.33
  EXPECT_EQ(MulDiv(2'000'000'000, 2'000'000'000, 1'000'000'000), -1);  // does not fit
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(1'944'000'000, 1'000'000'000, 1'944'000'000), 1'000'000'000);  // 64-bit product
}

TEST(GeoMath, RoundHalfEvenSmallMatchesTheLibraryRounding) {
  // Halves in both directions, values just off a half, fractions far below one, and the ends of
  // the range the shortcut serves.
  const long double below = std::nextafter(0.5L, 0.0L), above = std::nextafter(0.5L, 1.0L);
  const long double limit = RoundHalfEvenLimit;
  for (long double v : {0.0L, -0.0L, 0.5L, -0.5L, 1.5L, -1.5L, 2.5L, -2.5L, below, -below, above, -above, 1e-30L,
                        -1e-30L, 123456789.5L, -123456789.5L, 987654321.49999999L, 4294967296.5L, limit - 0.5L,
                        -(limit - 0.5L), limit - 1.5L, -(limit - 1.5L), std::nextafter(limit, 0.0L)})
  {
    EXPECT_EQ(RoundHalfEvenSmall(v), static_cast<int64_t>(std::rint(v))) << static_cast<double>(v);
    EXPECT_EQ(RoundHalfEvenExtended(v), std::rint(v)) << static_cast<double>(v);
  }
  for (int64_t i = -3000; i <= 3000; ++i) {
    const long double v = i / 4.0L + 1e6L;
    EXPECT_EQ(RoundHalfEvenSmall(v), static_cast<int64_t>(std::rint(v))) << i;
    EXPECT_EQ(RoundHalfEvenSmall(-v), static_cast<int64_t>(std::rint(-v))) << i;
  }
}

TEST(GeoMath, RoundToIntIsHalvesToEvenAndNeverTraps) {
  EXPECT_EQ(RoundToInt(0.5L), 0);
  EXPECT_EQ(RoundToInt(1.5L), 2);
  EXPECT_EQ(RoundToInt(-2.5L), -2);
  EXPECT_EQ(RoundToInt(4'294'967'297.0L), 1);  // wraps like 32-bit arithmetic
  EXPECT_EQ(RoundToInt(std::numeric_limits<long double>::infinity()), 0);
  EXPECT_EQ(RoundToInt(1e30L), 0);
}

TEST(GeoMath, GeoToCartesianAxes) {
  EXPECT_EQ(GeoToCartesian(TGeoPoint(0, 0)), (TPoint3D{0, 0, EarthRadiusGU}));
  EXPECT_EQ(GeoToCartesian(TGeoPoint(-90 * Deg, 0)), (TPoint3D{-EarthRadiusGU, 0, 0}));
  EXPECT_EQ(GeoToCartesian(TGeoPoint(0, -90 * Deg)), (TPoint3D{0, -EarthRadiusGU, 0}));
  EXPECT_EQ(GeoToCartesian(TGeoPoint(180 * Deg, 0, 1000)), (TPoint3D{0, 0, -EarthRadiusGU - 1000}));
  // 45 N on the meridian: both Y and Z are r / sqrt 2.
  const TPoint3D p = GeoToCartesian(TGeoPoint(0, 45 * Deg));
  EXPECT_EQ(p.Y, p.Z);
  EXPECT_NEAR(p.Y, EarthRadiusGU / std::sqrt(2.0), 1.0);
}

TEST(GeoMath, CartesianToGeoKeepsLongitudeWhenZIsZero) {
  TGeoPoint target(123, 456, 789);
  CartesianToGeo({0, 1, 0}, target);
  EXPECT_EQ(target.LongX, 123);
  EXPECT_NEAR(target.LatY, 486'000'000, 1);  // truncated, so 1 short of the pole
  EXPECT_EQ(target.Height, 0);
  const TVec3 v = Vec3Normalise(GeoToCartesianExact(TGeoPoint(-30 * Deg, 40 * Deg)));
  CartesianToGeo(v, target);
  EXPECT_NEAR(target.LongX, -30 * Deg, 2);
  EXPECT_NEAR(target.LatY, 40 * Deg, 2);
}

TEST(GeoMath, PointInRectIsStrictAndSeesAcrossTheDateline) {
  const TGeoRect r(10 * Deg, 10 * Deg, 10 * Deg, 10 * Deg);
  EXPECT_TRUE(PointInRect(TGeoPoint(15 * Deg, 15 * Deg), r));
  EXPECT_FALSE(PointInRect(TGeoPoint(10 * Deg, 15 * Deg), r));  // on the edge
  EXPECT_FALSE(PointInRect(TGeoPoint(15 * Deg, 20 * Deg), r));
  // 170 E, 20 degrees wide: 175 W is inside, through the shifted test.
  const TGeoRect pacific(170 * Deg, 0, 20 * Deg, 10 * Deg);
  EXPECT_TRUE(PointInRect(TGeoPoint(-175 * Deg, 5 * Deg), pacific));
  EXPECT_TRUE(PointInRect(TGeoPoint(175 * Deg, 5 * Deg), pacific));
  EXPECT_FALSE(PointInRect(TGeoPoint(-165 * Deg, 5 * Deg), pacific));
}

TEST(GeoMath, RectUnionIgnoresEmptyOperands) {
  const TGeoRect a(0, 0, 10, 10), b(-5, 20, 3, 3);
  EXPECT_EQ(RectUnion(TGeoRect(), a), a);
  EXPECT_EQ(RectUnion(a, TGeoRect()), a);
  EXPECT_EQ(RectUnion(a, b), TGeoRect(-5, 0, 15, 23));
}

TEST(GeoMath, VectorHelpers) {
  const TVec3 x{1, 0, 0}, y{0, 1, 0};
  const TVec3 z = Vec3Cross({2, 0, 0}, {0, 3, 0});  // normalised
  EXPECT_DOUBLE_EQ(static_cast<double>(z.Z), 1);
  EXPECT_DOUBLE_EQ(static_cast<double>(Vec3Dot(x, y)), 0);
  const TVec3 tiny = Vec3Normalise({1e-6L, 0, 0});  // too short to normalise
  EXPECT_DOUBLE_EQ(static_cast<double>(tiny.X), 1e-6);
  const TMatrix3 m{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  EXPECT_DOUBLE_EQ(static_cast<double>(MatrixTranspose(m)[0][2]), 7);
  EXPECT_DOUBLE_EQ(static_cast<double>(MatrixScale(m, 2)[1][1]), 10);
  const TVec3 r = MatrixTimesVecRaw(m, {1, 0, -1});
  EXPECT_DOUBLE_EQ(static_cast<double>(r.Y), -2);
  const TVec3 n = MatrixTimesVec(m, {1, 0, 0});
  EXPECT_NEAR(static_cast<double>(Vec3Dot(n, n)), 1, 1e-15);
}

// Device coordinates of the globe rotation: x to the right, y down, z away from the viewer.
TVec3 View(long double xRotation, long double yRotation, const TGeoPoint& p) {
  return MatrixTimesVecRaw(QuaternionToMatrix(QuaternionFromEuler(xRotation, yRotation, 0)),
                           GeoToCartesianExact(p));
}

TEST(GeoMath, EulerRotationPutsTheChosenPointAtTheCentreNorthUp) {
  const long double r = EarthRadiusGU;
  for (auto [lat, lon] : {std::pair{0, 0}, std::pair{30, 40}, std::pair{-50, -120}}) {
    const TVec3 centre = View(lat, lon, TGeoPoint(lon * Deg, lat * Deg));
    EXPECT_NEAR(static_cast<double>(centre.X), 0, 1e-3);
    EXPECT_NEAR(static_cast<double>(centre.Y), 0, 1e-3);
    EXPECT_NEAR(static_cast<double>(centre.Z), static_cast<double>(-r), 1e-3);  // facing the viewer
    const TVec3 north = View(lat, lon, TGeoPoint(lon * Deg, (lat + 1) * Deg));
    const TVec3 east = View(lat, lon, TGeoPoint((lon + 1) * Deg, lat * Deg));
    EXPECT_LT(north.Y, 0);  // up
    EXPECT_NEAR(static_cast<double>(north.X), 0, 1e-3);
    EXPECT_GT(east.X, 0);  // right
  }
}

TEST(GeoMath, AxisAngleRotationKeepsItsAxisAndIsOrthonormal) {
  const TVec3 axis = Vec3Normalise({1, 2, 3});
  const TMatrix3 m = QuaternionToMatrix(QuaternionFromAxisAngle(axis, 0.7L));
  const TVec3 image = MatrixTimesVecRaw(m, axis);
  EXPECT_NEAR(static_cast<double>(image.X), static_cast<double>(axis.X), 1e-15);
  EXPECT_NEAR(static_cast<double>(image.Z), static_cast<double>(axis.Z), 1e-15);
  const TMatrix3 t = MatrixTranspose(m);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const long double dot = m[i][0] * t[0][j] + m[i][1] * t[1][j] + m[i][2] * t[2][j];
      EXPECT_NEAR(static_cast<double>(dot), i == j ? 1 : 0, 1e-15);
    }
  // A quarter turn moves a perpendicular vector by 90 degrees.
  const TMatrix3 quarter = QuaternionToMatrix(QuaternionFromAxisAngle({0, 1, 0}, Pi / 2));
  EXPECT_NEAR(static_cast<double>(Vec3Dot(MatrixTimesVecRaw(quarter, {1, 0, 0}), {1, 0, 0})), 0, 1e-15);
}

TEST(GeoMath, PointsExtentOfDevicePoints) {
  struct P {
    int32_t X, Y;
  };
  const P points[] = {{3, -1}, {-2, 5}, {4, 0}};
  const TPointsExtent e = PointsExtent(std::span<const P>(points));
  EXPECT_EQ(e.MinX, -2);
  EXPECT_EQ(e.MaxX, 4);
  EXPECT_EQ(e.MinY, -1);
  EXPECT_EQ(e.MaxY, 5);
}

TEST(GeoMath, GeoToCartesianExactAgreesWithTheLibrarySineInEveryQuadrant) {
  // The quarter turns are reduced in integers; every quadrant, the boundaries between them and
  // longitudes outside -180..180 must give the sine and cosine of the whole angle.
  const long double r = EarthRadiusGU;
  for (int64_t longX = -2'100'000'000; longX <= 2'100'000'000; longX += 48'600'001) {
    for (int32_t latY : {-486'000'000, -243'000'000, -1, 0, 1, 243'000'000, 300'000'000, 486'000'000}) {
      const TGeoPoint p(static_cast<int32_t>(longX), latY);
      const long double a = longX * GUToRadians, b = latY * GUToRadians;
      const TVec3 v = GeoToCartesianExact(p);
      EXPECT_NEAR(static_cast<double>(v.X), static_cast<double>(r * std::cos(b) * std::sin(a)), 1e-6) << longX << " " << latY;
      EXPECT_NEAR(static_cast<double>(v.Y), static_cast<double>(r * std::sin(b)), 1e-6) << longX << " " << latY;
      EXPECT_NEAR(static_cast<double>(v.Z), static_cast<double>(r * std::cos(b) * std::cos(a)), 1e-6) << longX << " " << latY;
    }
  }
  // Whole quarter turns give exact axes: sine and cosine of 0, 90, 180, 270 degrees.
  const int sines[4] = {0, 1, 0, -1}, cosines[4] = {1, 0, -1, 0};
  for (int32_t quarter = -4; quarter <= 4; ++quarter) {
    const TVec3 v = GeoToCartesianExact(TGeoPoint(quarter * 90 * Deg, 0));
    EXPECT_EQ(v.X, r * sines[(quarter + 8) % 4]) << quarter;
    EXPECT_EQ(v.Z, r * cosines[(quarter + 8) % 4]) << quarter;
  }
}

}  // namespace
}  // namespace globe
