// Projection models: forward and inverse conversions, visibility, chains with decimation and
// horizon clipping, the culling of rectangles and the graticule.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "FakeGlobeView.h"
#include "globe/data/PointStore.h"
#include "globe/view/CartesianPrj.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/SphericalPrj.h"

namespace globe {
namespace {

using testing::GU;

constexpr long double kDeg = 5'400'000.0L;
constexpr long double kPi = std::numbers::pi_v<long double>;

platform::TPoint Project(TGlobeProjection& p, long double lonDeg, long double latDeg, bool* visible = nullptr) {
  platform::TPoint xy;
  const bool v = p.LLToDeviceXY(GU(lonDeg), GU(latDeg), xy);
  if (visible) *visible = v;
  return xy;
}

TPointStore Chain(std::initializer_list<std::pair<long double, long double>> lonLat) {
  TPointStore s;
  for (auto [lon, lat] : lonLat) s.Add(TGeoPoint(GU(lon), GU(lat)));
  return s;
}

using SphericalPrj = testing::ProjectionFixture;
using FlatPrj = testing::ProjectionFixture;
using ProjectionModel = testing::ProjectionFixture;

// On a 600 × 400 surface the fitted globe has a radius of exactly 200 pixels round (300, 200).
TEST_F(SphericalPrj, OrthographicViewOfTheRotationPoint) {
  EXPECT_EQ(p.ModelFlags(), mfHorizonClip | mfTextured);
  EXPECT_NEAR(static_cast<double>(dynamic_cast<TSphericalPrj&>(p.ProjectionModel()).HorizonRadius()), 200.0, 1e-9);
  for (auto [lat0, lon0] : {std::pair{23.5L, 0.0L}, {-45.0L, 120.0L}, {60.0L, -170.0L}}) {
    SCOPED_TRACE(::testing::Message() << lat0 << " " << lon0);
    p.SetXRotation(lat0);
    p.SetYRotation(lon0);
    EXPECT_EQ(Project(p, lon0, lat0), (platform::TPoint{300, 200}));
    // Due north of the centre lies straight above it, by 200 sin 10° = 34.7.
    EXPECT_EQ(Project(p, lon0, lat0 + 10), (platform::TPoint{300, 165}));
    // Along the centre's parallel: right by R cos(lat0) sin(10°).
    const long double dx = 200 * std::cos(lat0 * kPi / 180) * std::sin(10 * kPi / 180);
    EXPECT_EQ(Project(p, lon0 + 10, lat0).X, 300 + std::lround(static_cast<double>(dx)));
    // The antipode is hidden, and shown during the far-side pass, which hides the centre.
    bool antipode = true, back = false, centre = true;
    Project(p, lon0 + 180, -lat0, &antipode);
    p.SetFarSide(true);
    Project(p, lon0 + 180, -lat0, &back);
    Project(p, lon0, lat0, &centre);
    EXPECT_EQ(std::tuple(antipode, back, centre), std::tuple(false, true, false));
    p.SetFarSide(false);
  }
}

TEST_F(SphericalPrj, ChainsDecimateDropAndClipToTheHorizon) {
  p.SetXRotation(0);
  TCustomProjectionModel& m = p.ProjectionModel();
  // One pixel is about 1.55 million GlobeUnit: these all land within a pixel.
  TPointStore dense;
  for (int i = 0; i < 5; ++i) dense.Add(TGeoPoint(i * 100'000, i * 50'000));
  EXPECT_EQ(m.PointStoreToXY(dense, 0, false), 1);
  EXPECT_EQ(DevicePoints()[0], (platform::TPoint{300, 200}));
  // Along the equator from the centre to the back: 120° and 150° are hidden.
  TPointStore arc = Chain({{0, 0}, {30, 0}, {60, 0}, {120, 0}, {150, 0}});
  ASSERT_EQ(m.PointStoreToXY(arc, 0, false), 3);
  EXPECT_EQ(DevicePoints()[1], (platform::TPoint{400, 200}));  // 200 sin 30°
  // Closed shapes keep hidden points, pushed onto the horizon (radius 200).
  ASSERT_EQ(m.PointStoreToXY(arc, 0, true), 4);  // 120° and 150° land on the same horizon point
  EXPECT_EQ(DevicePoints()[3], (platform::TPoint{500, 200}));
  // A point exactly on the horizon (its 3-D point has no depth) belongs to the near side.
  TPointStore horizon = Chain({{90, 0}});
  EXPECT_EQ(m.PointStoreToXY(horizon, 0, false), 1);
  // The far-side pass sees the other hemisphere.
  p.SetFarSide(true);
  EXPECT_EQ(m.PointStoreToXY(arc, 0, false), 2);
  EXPECT_EQ(m.PointStoreToXY(horizon, 0, false), 0);
  p.SetFarSide(false);
  // The 3-D points are cached with the store only under goCache3DPoints.
  EXPECT_TRUE(arc.Has3DCache());
  view.Options.Exclude(goCache3DPoints);
  TPointStore uncached = Chain({{0, 0}, {30, 0}});
  EXPECT_EQ(m.PointStoreToXY(uncached, 0, false), 2);
  EXPECT_FALSE(uncached.Has3DCache());
}

// On 600 × 400 the fitted flat map is exactly 600 pixels wide: 3,240,000 GlobeUnit a pixel.
TEST_F(FlatPrj, PlateCarreeColumnsAndRows) {
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(0);
  p.SetOrigin(platform::TPoint{300, 200});
  EXPECT_EQ(p.ModelFlags(), mfTextured);
  EXPECT_EQ((std::vector{Project(p, 180, 0), Project(p, -180, 0), Project(p, 0, 90), Project(p, 90, -45)}),
            (std::vector<platform::TPoint>{{600, 200}, {0, 200}, {300, 50}, {450, 275}}));
  TGeoPoint g;
  ASSERT_TRUE(p.DeviceXYToLL(450, 125, g));
  EXPECT_EQ(g, TGeoPoint(GU(90), GU(45)));
  // Past the right edge the longitude wraps round; past the pole there is no map.
  ASSERT_TRUE(p.DeviceXYToLL(650, 200, g));
  EXPECT_EQ(g.LongX, GU(-150));
  EXPECT_FALSE(p.DeviceXYToLL(300, 30, g));
  // Points outside the longitude/latitude rectangle are not visible.
  platform::TPoint xy;
  EXPECT_FALSE(p.PointLLToDeviceXY(TGeoPoint(0, GU(91)), xy));
  // The central meridian moves to the origin's column.
  p.SetCentralMeridian(90);
  EXPECT_EQ(std::tuple(Project(p, 90, 0).X, Project(p, 0, 0).X, Project(p, -90, 0).X), std::tuple(300, 150, 0));
  ASSERT_TRUE(p.DeviceXYToLL(300, 200, g));
  EXPECT_EQ(g.LongX, GU(90));
}

TEST_F(FlatPrj, RotationPansOrMovesTheCentralMeridian) {
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(0);
  const long double s = p.ScaleFactor();
  // A flat map keeps any XRotation; by default a change pans the map vertically.
  const int32_t y0 = p.YOrigin();
  p.SetXRotation(p.XRotation() + 10);
  EXPECT_EQ(p.YOrigin(), y0 + std::lround(static_cast<double>(10 * kDeg * s)));  // 17 pixels
  p.SetXRotation(120);
  EXPECT_EQ(p.XRotation(), 120);
  // By default a YRotation change moves the central meridian by as much.
  const long double cm0 = p.CentralMeridian();
  p.SetYRotation(p.YRotation() + 20);
  EXPECT_NEAR(static_cast<double>(p.CentralMeridian()), static_cast<double>(NormaliseDegrees(cm0 + 20)), 1e-9);
  // yaXOrigin pans horizontally instead: the origin moves to the column of the longitude
  // -30°, which lies (30° + the central meridian) left of the old origin.
  p.SetYAxisChanges(yaXOrigin);
  const struct {
    long double CentralMeridian, Turn, ShiftDegrees;  // of the origin, east positive
  } cases[] = {{0, 30, -30}, {20, 30, -50}, {-40, 30, 10}, {170, 30, 160}, {10, -20, 10}};
  for (const auto& c : cases) {
    p.SetCentralMeridian(c.CentralMeridian);
    const int32_t xOrigin = p.XOrigin();
    p.SetYRotation(p.YRotation() + c.Turn);
    EXPECT_EQ(p.XOrigin(), xOrigin + std::lround(static_cast<double>(c.ShiftDegrees * kDeg * s)))
        << "central meridian " << static_cast<double>(c.CentralMeridian);
    EXPECT_EQ(p.CentralMeridian(), c.CentralMeridian);
  }
}

TEST_F(FlatPrj, MercatorLatitudesStretchAndPolesStayFinite) {
  p.SetProjectionClass("TMercatorPrj");
  p.SetScaleFactor(0);
  p.SetOrigin(platform::TPoint{300, 200});
  // 300/pi pixels a radian: ln(tan 67.5°) × 95.49 = 84.16.
  EXPECT_EQ((std::vector{Project(p, 90, 45), Project(p, 0, -45), Project(p, 0, 90), Project(p, 0, -90)}),
            (std::vector<platform::TPoint>{{450, 116}, {300, 284}, {300, 200 - 1933}, {300, 200 + 1933}}));
}

TEST_F(FlatPrj, ChainsDecimateDropHiddenPointsAndStopAtTheBufferEnd) {
  p.SetProjectionClass("TCartesianPrj");
  TCustomProjectionModel& m = p.ProjectionModel();
  p.SetScaleFactor(1e-3L);  // 1,000 GlobeUnit a pixel
  // The second point shares the first's pixel; the fourth is beyond the pole, not visible.
  TPointStore s;
  for (TGeoPoint g : {TGeoPoint(0, 0), TGeoPoint(500, 500), TGeoPoint(1700, 0), TGeoPoint(0, 500'000'000), TGeoPoint(1700, 2000)})
    s.Add(g);
  EXPECT_EQ(m.PointStoreToXY(s, 0, false), 3);
  EXPECT_EQ(DevicePoints()[1].X - DevicePoints()[0].X, 2);
  EXPECT_EQ(DevicePoints()[2].Y - DevicePoints()[1].Y, -2);
  // Output continues at the start index and the result counts from 0.
  EXPECT_EQ(m.PointStoreToXY(s, 10, false), 13);
  // A chain longer than the buffer is cut at its end; a start beyond it writes nothing.
  TPointStore huge;
  huge.SetCount(DevicePointCapacity + 10);
  for (int32_t i = 0; i < huge.Count(); ++i) huge.SetPoint(i, TGeoPoint(i * 10'000 - 900'000'000, 0));
  EXPECT_EQ(m.PointStoreToXY(huge, 0, false), DevicePointCapacity);
  EXPECT_EQ(m.PointStoreToXY(huge, DevicePointCapacity, false), DevicePointCapacity);
  EXPECT_EQ(m.PointStoreToXY(huge, -5, false), -5);
}

TEST_F(ProjectionModel, GeoRectVisibility) {
  p.SetXRotation(0);
  TCustomProjectionModel& m = p.ProjectionModel();
  uint16_t flags = 0x0030 | rsClipAll | rsClosed;
  EXPECT_TRUE(m.GeoRectVisible(TGeoRect(GU(-10), GU(-10), GU(20), GU(20)), flags));
  EXPECT_EQ(flags, rsPartlyVisible | rsClosed);  // all samples visible, inside the window
  // Straddling the horizon: some samples hidden.
  EXPECT_TRUE(m.GeoRectVisible(TGeoRect(GU(80), GU(-5), GU(20), GU(10)), flags));
  EXPECT_EQ(flags, rsPartlyVisible | rsPartlyHidden | rsClosed);
  // On the back, across the 180-degree meridian: hidden, but seen in the far-side pass, where
  // the two bits swap roles.
  const TGeoRect back(GU(170), GU(-5), GU(20), GU(10));
  EXPECT_FALSE(m.GeoRectVisible(back, flags));
  p.SetFarSide(true);
  flags = 0;
  EXPECT_TRUE(m.GeoRectVisible(back, flags));
  EXPECT_EQ(flags, rsPartlyHidden);
  p.SetFarSide(false);
  // A rectangle round the whole world is always visible.
  EXPECT_TRUE(m.GeoRectVisible(TGeoRect(GU(170), GU(-5), GU(360), GU(10)), flags));
  // On a flat map a rectangle across the dateline is tested in two parts.
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(1e-5L);  // 54 pixels a degree
  p.SetOrigin(platform::TPoint{300 + 175 * 54, 200});  // longitude -175 and the equator in the middle
  TCustomProjectionModel& flat = p.ProjectionModel();
  flags = 0;
  // 170°E..190°E: its eastern part (-180..-170) is on screen.
  EXPECT_TRUE(flat.GeoRectVisible(TGeoRect(GU(170), GU(-2), GU(20), GU(4)), flags));
  EXPECT_EQ(flags, rsPartlyVisible);
  // 150°E..160°E is far off to the right.
  EXPECT_FALSE(flat.GeoRectVisible(TGeoRect(GU(150), GU(-5), GU(10), GU(10)), flags));
  // -178..-165 by -10..10 runs out of the window on the right, top and bottom.
  EXPECT_TRUE(flat.GeoRectVisible(TGeoRect(GU(-178), GU(-10), GU(13), GU(20)), flags));
  EXPECT_EQ(flags, rsPartlyVisible | rsClipRight | rsClipTop | rsClipBottom);
}

TEST_F(ProjectionModel, GraticuleLines) {
  p.ProjectionModel().PaintGraticule();
  // 24 meridians from -180° in 15° steps, then parallels 0, ±15 … ±75 in four half-lines each.
  ASSERT_EQ(view.Lines.size(), 24u + 6u * 4u);
  const auto& first = view.Lines[0], &last = view.Lines.back();
  EXPECT_EQ(std::tuple(first.From, first.To, first.Segments), std::tuple(TGeoPoint(GU(-180), GU(89)), TGeoPoint(GU(-180), GU(-89)), 36));
  EXPECT_EQ(view.Lines[23].From.LongX, GU(165));
  EXPECT_EQ(std::tuple(last.From, last.To, last.Segments), std::tuple(TGeoPoint(0, GU(-75)), TGeoPoint(-971'999'999, GU(-75)), 72));
  // Flat models divide the lines more finely; a step of 0 turns its lines off.
  p.SetProjectionClass("TCartesianPrj");
  view.Lines.clear();
  view.LongitudeStep = 0;
  view.LatitudeStep = 30;
  p.ProjectionModel().PaintGraticule();
  ASSERT_EQ(view.Lines.size(), 3u * 4u);  // 0, 30, 60
  EXPECT_EQ(view.Lines[0].Segments, 144);
}

}  // namespace
}  // namespace globe
