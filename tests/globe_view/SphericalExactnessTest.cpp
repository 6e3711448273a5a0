// The globe's shortcuts must give what the plain Extended work gives: chains projected with
// double decisions keep the same points and pixels (ties included), and the rectangle test's
// cap verdicts agree with its samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "FakeGlobeView.h"
#include "globe/data/GeoMath.h"
#include "globe/data/PointStore.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/DoubleProjection.h"
#include "globe/view/SphericalPrj.h"

namespace globe {
namespace {

using testing::GU;
using Spherical = testing::ProjectionFixture;

long double DotRow(const std::array<long double, 3>& row, const TPoint3D& p) {
  return row[0] * static_cast<long double>(p.X) + row[1] * static_cast<long double>(p.Y) +
         row[2] * static_cast<long double>(p.Z);
}

platform::TPoint Pixel(const TGlobeProjection& projection, long double x, long double y) {
  return {static_cast<int32_t>(projection.XOrigin() + static_cast<int64_t>(std::nearbyint(x))),
          static_cast<int32_t>(projection.YOrigin() + static_cast<int64_t>(std::nearbyint(y)))};
}

// A chain projected in Extended point by point, as the globe did before its double decisions:
// the pixels of the kept points, or of the outline following the horizon. `horizon` says 0 for
// no hidden point kept, 1 for an outline that follows the horizon, 2 for one to be mended.
std::vector<platform::TPoint> ExtendedPixels(const TGlobeProjection& projection, const TSphericalPrj& m,
                                             const TPointStore& chain, bool clip, int& horizon) {
  const TMatrix3& f = m.ForwardMatrix();
  const long double radius = m.HorizonRadius();
  THorizonRing ring;
  std::vector<platform::TPoint> pixels;
  long double lastX = 2'147'483'646.0L, lastY = lastX;
  for (int32_t i = 0; i < chain.Count(); ++i) {
    const TPoint3D p = GeoToCartesian(chain.Point(i));
    long double sx = DotRow(f[0], p), sy = DotRow(f[1], p);
    const bool hidden = (DotRow(f[2], p) <= 0) == projection.FarSide();
    if (hidden && !clip) continue;
    if (hidden) {
      const long double h = Hypot(sx, sy);
      sx = h > 0 ? sx * (radius / h) : radius;
      sy = h > 0 ? sy * (radius / h) : 0;
    }
    if (std::fabs(lastX - sx) > 1.0L || std::fabs(lastY - sy) > 1.0L) {
      lastX = sx;
      lastY = sy;
      pixels.push_back(Pixel(projection, sx, sy));
      ring.Add(sx, sy, hidden);
    }
  }
  horizon = 0;
  if (!clip || !ring.AnyHidden()) return pixels;
  const auto& followed = ring.Follow(radius);
  horizon = !ring.AnyVisible() || ring.Winding() != 0 ? 2 : 1;
  pixels.clear();
  for (const auto& q : followed)
    pixels.push_back(Pixel(projection, q.X, q.Y));
  return pixels;
}

std::vector<platform::TPoint> Projected(TCustomProjectionModel& m, TPointStore& chain, bool clip) {
  const int32_t n = m.PointStoreToXY(chain, 0, clip);
  return {DevicePoints(), DevicePoints() + n};
}

TEST(DoubleProjection, StaysWithinItsBoundAndRoundsOnlyWhenSure) {
  std::mt19937_64 random(17);
  std::uniform_real_distribution<long double> angle(-180, 180), scale(-30, -1);
  std::uniform_int_distribution<int32_t> coordinate(INT32_MIN, INT32_MAX);
  for (int m = 0; m < 200; ++m) {
    const TMatrix3 matrix = MatrixScale(
        QuaternionToMatrix(QuaternionFromEuler(angle(random) / 2, angle(random), angle(random))),
        std::pow(2.0L, scale(random)));
    const TDoubleProjection fast(matrix);
    for (int k = 0; k < 200; ++k) {
      const TPoint3D p{coordinate(random), coordinate(random), k % 2 ? INT32_MIN : coordinate(random)};
      for (int row = 0; row < 3; ++row) {
        const long double exact = DotRow(matrix[row], p);
        ASSERT_LE(std::fabs(static_cast<long double>(fast.Dot(row, p)) - exact), fast.Bound(row));
      }
    }
  }
  int64_t r = 0;
  EXPECT_TRUE(RoundsSurely(2.4999, 1e-6, r));
  EXPECT_EQ(r, 2);
  EXPECT_TRUE(RoundsSurely(-3.5001, 1e-6, r));
  EXPECT_EQ(r, -4);
  EXPECT_FALSE(RoundsSurely(2.5, 1e-12, r));       // a tie: left to Extended
  EXPECT_FALSE(RoundsSurely(2.4999999, 1e-6, r));  // within the bound of one
  EXPECT_FALSE(RoundsSurely(3e9, 1e-6, r));        // beyond the fast range
  EXPECT_EQ(TDoubleProjection::BeyondOne(-1.01, 1e-6), 1);
  EXPECT_EQ(TDoubleProjection::BeyondOne(0.99, 1e-6), -1);
  EXPECT_EQ(TDoubleProjection::BeyondOne(1.0, 1e-12), 0);
}

// With no rotation and 2^-20 pixels a GlobeUnit the products are exact: points half a pixel off
// the grid and exactly one pixel apart sit on both thresholds.
TEST_F(Spherical, TiesAreDecidedAsInExtended) {
  p.SetXRotation(0);
  p.SetYRotation(0);
  p.SetZRotation(0);
  p.SetScaleFactor(0x1p-20L);
  // The longitude on the equator whose 3-D X is `x` GlobeUnit.
  const auto longitudeOf = [](int32_t x) {
    const auto guess = static_cast<int32_t>(std::asin(x / static_cast<long double>(EarthRadiusGU)) / GUToRadians);
    for (int32_t d = -200; d <= 200; ++d)
      if (GeoToCartesian(TGeoPoint(guess + d, 0)).X == x) return guess + d;
    ADD_FAILURE() << "no longitude for " << x;
    return 0;
  };
  TPointStore chain;
  for (int half = 1; half <= 9; half += 2) chain.Add(TGeoPoint(longitudeOf(half << 19), 0));  // 0.5 .. 4.5 px
  // 1.5 and 3.5 are exactly a pixel from the last kept point; 0.5, 2.5, 4.5 round to even.
  const std::vector<platform::TPoint> expected{Pixel(p, 0, 0), Pixel(p, 2, 0), Pixel(p, 4, 0)};
  EXPECT_EQ(Projected(p.ProjectionModel(), chain, false), expected);
  EXPECT_EQ(Projected(p.ProjectionModel(), chain, true), expected);
}

TEST_F(Spherical, ChainsMatchTheExtendedProjection) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<long double> unit(0, 1);
  auto& model = dynamic_cast<TSphericalPrj&>(p.ProjectionModel());
  int compared = 0, followingTheHorizon = 0;
  for (int view = 0; view < 60; ++view) {
    p.SetXRotation(unit(random) * 180 - 90);
    p.SetYRotation(unit(random) * 360 - 180);
    p.SetZRotation(view % 3 == 0 ? unit(random) * 360 : 0);
    p.SetScaleFactor(std::pow(10.0L, -6.5L + unit(random) * 4) * (view % 5 == 0 ? 1 : 0x1p-3L));
    p.SetFarSide(view % 4 == 3);
    for (int c = 0; c < 20; ++c) {
      // A random walk: steps from a hundredth of a pixel to many degrees.
      TPointStore chain;
      long double lon = unit(random) * 360 - 180, lat = unit(random) * 160 - 80;
      const long double step = std::pow(10.0L, -4 + unit(random) * 5);
      for (int k = 0; k < 300; ++k) {
        chain.Add(TGeoPoint(GU(lon), GU(lat)));
        lon = std::remainder(lon + (unit(random) - 0.5L) * step, 360.0L);
        lat = std::clamp(lat + (unit(random) - 0.5L) * step, -89.0L, 89.0L);
      }
      for (const bool clip : {false, true}) {
        int horizon = 0;
        const std::vector<platform::TPoint> expected = ExtendedPixels(p, model, chain, clip, horizon);
        const std::vector<platform::TPoint> got = Projected(model, chain, clip);
        if (horizon == 2) continue;  // the mending itself is tested with the horizon ring
        ASSERT_EQ(got, expected) << "view " << view << " chain " << c << " clip " << clip;
        ++compared;
        followingTheHorizon += horizon;
      }
    }
  }
  EXPECT_GT(compared, 1500);
  EXPECT_GT(followingTheHorizon, 30);
}

// Turns of a closed outline of device points round (x, y) (not on the outline).
int Winding(const std::vector<platform::TPoint>& outline, double x, double y) {
  int turns = 0;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const platform::TPoint& a = outline[i];
    const platform::TPoint& b = outline[(i + 1) % outline.size()];
    if ((a.Y <= y) == (b.Y <= y)) continue;
    const double cross = (b.X - a.X) * (y - a.Y) - (x - a.X) * static_cast<double>(b.Y - a.Y);
    if (b.Y > a.Y && cross > 0) ++turns;
    if (b.Y < a.Y && cross < 0) --turns;
  }
  return turns;
}

TEST_F(Spherical, LongChainsInBlocksFillTheWindowAsPointByPoint) {
  // Close-ups (the horizon beyond the window; the far side's pass too) of rings of 6,000 points
  // round points near the middle, from within the window to far behind the horizon: the chain
  // goes in blocks, passing blocks far beyond the window or behind the globe by their ends, and
  // every pixel of the window is still inside the outline exactly when it is inside the outline
  // projected point by point.
  std::mt19937_64 random(11);
  std::uniform_real_distribution<long double> unit(0, 1);
  auto& model = dynamic_cast<TSphericalPrj&>(p.ProjectionModel());
  int compared = 0, passedOver = 0;
  for (int shot = 0; shot < 18; ++shot) {
    const long double latitude = unit(random) * 140 - 70, longitude = unit(random) * 360 - 180;
    p.SetCenterLatitude(latitude);
    p.SetCenterLongitude(longitude);
    p.SetScaleFactor(2e-6L * std::pow(25.0L, unit(random)));
    p.SetFarSide(shot % 3 == 2);
    const long double radius = 0.5L * std::pow(200.0L, unit(random));  // degrees of arc
    TPointStore chain;
    const TVec3 centre = GeoToCartesianExact(TGeoPoint(GU(longitude + unit(random) - 0.5L), GU(latitude + unit(random) - 0.5L)));
    const TVec3 c = Vec3Normalise(centre);
    const TVec3 east = Vec3Normalise(TVec3{c.Z, 0, -c.X});
    const TVec3 north{c.Y * east.Z - c.Z * east.Y, c.Z * east.X - c.X * east.Z, c.X * east.Y - c.Y * east.X};
    for (int k = 0; k < 6000; ++k) {
      const long double angle = k * 2 * std::numbers::pi_v<long double> / 6000;
      const long double r = (radius + (unit(random) - 0.5L) * radius / 50) * std::numbers::pi_v<long double> / 180;
      const TVec3 v{c.X * std::cos(r) + (east.X * std::cos(angle) + north.X * std::sin(angle)) * std::sin(r),
                    c.Y * std::cos(r) + (east.Y * std::cos(angle) + north.Y * std::sin(angle)) * std::sin(r),
                    c.Z * std::cos(r) + (east.Z * std::cos(angle) + north.Z * std::sin(angle)) * std::sin(r)};
      chain.Add(TGeoPoint(RoundToInt(ArcTan2(v.X, v.Z) * RadiansToGU), RoundToInt(ArcSin(v.Y) * RadiansToGU)));
    }
    int horizon = 0;
    const std::vector<platform::TPoint> expected = ExtendedPixels(p, model, chain, true, horizon);
    if (horizon == 2) continue;  // the mending is tested with the horizon ring
    const std::vector<platform::TPoint> got = Projected(model, chain, true);
    ASSERT_FALSE(chain.Has3DCache()) << "view " << shot;  // went in blocks, keeping no 3-D points
    passedOver += got.size() < expected.size();
    for (int y = 0; y < view.Height; y += 13)
      for (int x = 0; x < view.Width; x += 13)
        ASSERT_EQ(Winding(got, x + 0.5, y + 0.5), Winding(expected, x + 0.5, y + 0.5))
            << "view " << shot << " pixel " << x << ", " << y;
    ++compared;
  }
  EXPECT_GT(compared, 8);
  EXPECT_GT(passedOver, 4);
}

TEST_F(Spherical, LongChainsInsideTheWindowKeepTheExtendedPoints) {
  // Close-ups of long chains that stay inside the window, with steps from a twentieth of a pixel
  // to two: walked in blocks, passing runs and points near the last kept one unprojected, they
  // keep the points and pixels of the point-by-point Extended walk.
  std::mt19937_64 random(23);
  std::uniform_real_distribution<long double> unit(0, 1);
  auto& model = dynamic_cast<TSphericalPrj&>(p.ProjectionModel());
  for (const long double stepPixels : {0.05L, 0.3L, 0.9L, 2.0L}) {
    for (int shot = 0; shot < 3; ++shot) {
      const long double latitude = unit(random) * 160 - 80, longitude = unit(random) * 360 - 180;
      p.SetCenterLatitude(latitude);
      p.SetCenterLongitude(longitude);
      p.SetScaleFactor(2e-6L * std::pow(25.0L, unit(random)));
      p.SetFarSide(false);
      const long double degreesPerPixel = 1 / (model.HorizonRadius() * std::numbers::pi_v<long double> / 180);
      TPointStore chain;
      long double x = 0, y = 0;  // pixels from the centre, kept within 120
      for (int k = 0; k < 6000; ++k) {
        const long double lat = latitude + y * degreesPerPixel;
        const long double lon = longitude + x * degreesPerPixel / std::cos(lat * std::numbers::pi_v<long double> / 180);
        chain.Add(TGeoPoint(GU(std::remainder(lon, 360.0L)), GU(lat)));
        x = std::clamp(x + (unit(random) - 0.5L) * 2 * stepPixels, -120.0L, 120.0L);
        y = std::clamp(y + (unit(random) - 0.5L) * 2 * stepPixels, -120.0L, 120.0L);
      }
      for (const bool clip : {false, true}) {
        int horizon = 0;
        const std::vector<platform::TPoint> expected = ExtendedPixels(p, model, chain, clip, horizon);
        ASSERT_EQ(Projected(model, chain, clip), expected) << "step " << stepPixels << " shot " << shot;
        ASSERT_FALSE(chain.Has3DCache());  // went in blocks
      }
    }
  }
}

TEST_F(Spherical, PointsMatchTheExtendedProjection) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<long double> unit(0, 1);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX), height(-100'000'000, 100'000'000);
  auto& model = dynamic_cast<TSphericalPrj&>(p.ProjectionModel());
  int shown = 0;
  for (int view = 0; view < 50; ++view) {
    p.SetXRotation(unit(random) * 180 - 90);
    p.SetYRotation(unit(random) * 360 - 180);
    p.SetZRotation(view % 3 == 0 ? unit(random) * 360 : 0);
    p.SetScaleFactor(std::pow(10.0L, -6.5L + unit(random) * 4));
    p.SetFarSide(view % 4 == 3);
    const TMatrix3& f = model.ForwardMatrix();
    for (int k = 0; k < 400; ++k) {
      const TGeoPoint point(any(random), any(random) / 5, k % 4 ? 0 : height(random));
      const TVec3 v = GeoToCartesianExact(point);
      const long double sx = f[0][0] * v.X + f[0][1] * v.Y + f[0][2] * v.Z;
      const long double sy = f[1][0] * v.X + f[1][1] * v.Y + f[1][2] * v.Z;
      const bool visible = (f[2][0] * v.X + f[2][1] * v.Y + f[2][2] * v.Z <= 0) != p.FarSide();
      DevicePoints()[0] = platform::TPoint{};
      ASSERT_EQ(model.PointLLToXY(point, 0), visible) << "view " << view << " point " << k;
      ASSERT_EQ(DevicePoints()[0], Pixel(p, sx, sy)) << "view " << view << " point " << k;
      shown += visible;
    }
  }
  EXPECT_GT(shown, 5000);
}

// The model with its cap verdicts switched off: every rectangle goes through its samples.
class TSampledSphericalPrj : public TSphericalPrj {
 public:
  using TSphericalPrj::TSphericalPrj;

 protected:
  TSampleVerdict SampleVerdict(int64_t, int64_t, int64_t, int64_t) override { return TSampleVerdict::Unknown; }
};

TEST_F(Spherical, RectangleVerdictsMatchTheSamples) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<long double> unit(0, 1);
  TSampledSphericalPrj sampled(&p);
  int shown = 0, hidden = 0;
  for (int view = 0; view < 40; ++view) {
    p.SetXRotation(unit(random) * 180 - 90);
    p.SetYRotation(unit(random) * 360 - 180);
    p.SetScaleFactor(std::pow(10.0L, -6.5L + unit(random) * 2.5L));
    p.SetFarSide(view % 3 == 2);
    TCustomProjectionModel& model = p.ProjectionModel();
    sampled.Assign(model);
    for (int r = 0; r < 300; ++r) {
      const long double size = std::pow(10.0L, -3 + unit(random) * 5);  // up to 100 degrees
      const TGeoRect rect(GU(unit(random) * 360 - 180), GU(unit(random) * 170 - 85), GU(size * (0.2L + unit(random))),
                          GU(size * (0.2L + unit(random))));
      uint16_t fast = rsClosed, slow = rsClosed;
      const bool fastVisible = model.GeoRectVisible(rect, fast);
      ASSERT_EQ(fastVisible, sampled.GeoRectVisible(rect, slow)) << "view " << view << " rect " << r;
      ASSERT_EQ(fast, slow) << "view " << view << " rect " << r;
      ++(fastVisible ? shown : hidden);
    }
  }
  EXPECT_GT(shown, 1000);
  EXPECT_GT(hidden, 1000);
}

}  // namespace
}  // namespace globe
