// The globe projection: creation, indexed setters with their clamps, zoom and altitude, the view
// centre, model changes by class name, copies and saved views.

#include <gtest/gtest.h>

#include <cmath>

#include "FakeGlobeView.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeException.h"
#include "globe/view/CartesianPrj.h"
#include "globe/view/SamePixel.h"
#include "globe/view/SphericalPrj.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::FakeGlobeView;

constexpr long double kDeg = 5'400'000.0L;
int32_t GU(long double degrees) { return static_cast<int32_t>(std::llround(degrees * kDeg)); }

// A 600 × 400 view and its projection.
class GlobeProjection : public ::testing::Test {
 protected:
  FakeGlobeView view;
  TGlobeProjection& p = view.P();
};

TEST(GlobeProjectionFit, CreationFitsTheGlobeAndRejectsANullView) {
  FakeGlobeView view(579, 581);
  TGlobeProjection& p = view.P();
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
  EXPECT_EQ(p.ScaleFactor(), 579.0L / 618'794'460.0L);  // the diameter fits the width
  EXPECT_EQ(p.XOrigin(), 289);
  EXPECT_EQ(p.YOrigin(), 290);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { TGlobeProjection bad(nullptr); }),
            "TGlobeProjection.Create passed nil parent");
}

TEST_F(GlobeProjection, IndexedSettersClampWrapAndNotify) {
  const int redraws = view.Redraws;
  p.SetMaxLatitude(95);
  EXPECT_EQ(p.MaxLatitude(), 90);
  p.SetMinLatitude(-95);
  EXPECT_EQ(p.MinLatitude(), -90);
  p.SetMaxLongitude(181);
  EXPECT_EQ(p.MaxLongitude(), 180);
  p.SetMinLongitude(-200);
  EXPECT_EQ(p.MinLongitude(), -180);
  p.SetMaxZoom(10);
  EXPECT_EQ(p.MaxZoom(), 3.0L);
  p.SetMaxLatitude(45);
  EXPECT_EQ(p.MaxLatitude(), 45);
  p.SetXRotation(120);
  EXPECT_EQ(p.XRotation(), 90);
  p.SetXRotation(-91);
  EXPECT_EQ(p.XRotation(), -90);
  p.SetZRotation(-200);
  EXPECT_EQ(p.ZRotation(), 160);
  p.SetYRotation(190);
  EXPECT_EQ(p.YRotation(), -170);
  p.SetYRotation(540);
  EXPECT_EQ(p.YRotation(), 180);  // wrapped once only
  EXPECT_GT(view.Redraws, redraws);
  // Unchanged and non-finite values are ignored without a redraw.
  const int before = view.Redraws;
  p.SetCentralParallel(p.CentralParallel());
  p.SetXOrigin(p.XOrigin());
  p.SetZRotation(std::nanl(""));
  p.SetZRotation(INFINITY);
  EXPECT_EQ(view.Redraws, before);
  EXPECT_EQ(p.ZRotation(), 160);
  p.SetXOrigin(17);
  EXPECT_EQ(p.XOrigin(), 17);
  EXPECT_EQ(view.Redraws, before + 1);
  // Out-of-range enumeration values are ignored.
  p.SetXAxisChanges(static_cast<TXAxisChanges>(7));
  EXPECT_EQ(p.XAxisChanges(), xaYOrigin);
}

TEST(GlobeProjectionFit, ZoomFitsClampsAndIgnores) {
  FakeGlobeView view(579, 581);
  TGlobeProjection& p = view.P();
  p.SetScaleFactor(1e-5L);
  EXPECT_EQ(p.ScaleFactor(), 1e-5L);
  EXPECT_EQ(view.Zoomed, 1);
  p.SetOrigin(platform::TPoint{10, 20});
  p.SetScaleFactor(0);  // fit: origin to the middle (289.5 and 290.5 round to even)
  EXPECT_EQ(p.XOrigin(), 290);
  EXPECT_EQ(p.YOrigin(), 290);
  EXPECT_EQ(p.ScaleFactor(), 579.0L / 618'794'460.0L);
  p.SetScaleFactor(5);
  EXPECT_EQ(p.ScaleFactor(), 3.0L);
  const int zoomed = view.Zoomed;
  p.SetScaleFactor(-1);
  p.SetScaleFactor(3.0L - 5e-11L);
  EXPECT_EQ(p.ScaleFactor(), 3.0L);
  EXPECT_EQ(view.Zoomed, zoomed);
  // Zoom bounds apply when MinZoom < MaxZoom.
  p.SetMinZoom(1e-6L);
  p.SetMaxZoom(1e-5L);
  p.SetScaleFactor(1e-3L);
  EXPECT_EQ(p.ScaleFactor(), 1e-5L);
  p.SetScaleFactor(1e-9L);
  EXPECT_EQ(p.ScaleFactor(), 1e-6L);
  p.SetMinZoom(0);
  p.SetMaxZoom(0);
  p.SetScaleFactor(1e-3L);
  EXPECT_EQ(p.ScaleFactor(), 1e-3L);
  // Bounds below zero allow no zoom at all.
  p.SetMinZoom(-10);
  p.SetMaxZoom(-5);
  p.SetScaleFactor(1e-4L);
  EXPECT_EQ(p.ScaleFactor(), 1e-3L);
  // No event while the view loads its form description.
  p.SetMinZoom(0);
  p.SetMaxZoom(0);
  view.Loading = true;
  const int zoomedBefore = view.Zoomed;
  p.SetScaleFactor(2e-3L);
  EXPECT_EQ(p.ScaleFactor(), 2e-3L);
  EXPECT_EQ(view.Zoomed, zoomedBefore);
}

TEST(GlobeProjectionFit, WindowNeverSpansMoreThanTheIntegerRange) {
  FakeGlobeView view(1000, 500);
  TGlobeProjection& p = view.P();
  p.SetScaleFactor(1e-7L);  // 1000 / 1e-7 = 1e10 GlobeUnit across
  EXPECT_EQ(p.ScaleFactor(), 1000.0L / 2'147'483'647.0L);
  EXPECT_EQ(view.ViewExtentGU, (platform::TRect{0, 0, 2'147'483'647, 1'073'741'824}));
  p.SetScaleFactor(1e-5L);
  EXPECT_EQ(view.ViewExtentGU, (platform::TRect{0, 0, 100'000'000, 50'000'000}));
}

TEST_F(GlobeProjection, ZoomKeepsThePointUnderTheWindowCentre) {
  p.SetXRotation(35);
  p.SetYRotation(-20);
  p.SetScaleFactor(2e-6L);
  p.SetOrigin(platform::TPoint{400, 200});  // 100 pixels right of the centre
  TGeoPoint before, after;
  ASSERT_TRUE(p.DeviceXYToLL(300, 200, before));
  p.SetScaleFactor(4e-6L);
  EXPECT_EQ(p.XOrigin(), 500);
  EXPECT_EQ(p.YOrigin(), 200);
  ASSERT_TRUE(p.DeviceXYToLL(300, 200, after));
  // Within the ground size of a pixel at the new zoom.
  EXPECT_LE(std::abs(after.LongX - before.LongX), 1 / 4e-6L);
  EXPECT_LE(std::abs(after.LatY - before.LatY), 1 / 4e-6L);
}

TEST_F(GlobeProjection, AltitudeAndZoomAgree) {
  p.SetScaleFactor(7.2392e-06L);
  EXPECT_EQ(p.Altitude(), 115911);  // 1 / (tan 50° × s) = 115910.55
  p.SetScaleFactor(1e-3L);
  p.SetAltitude(115911);
  EXPECT_NEAR(static_cast<double>(p.ScaleFactor()), 7.2391717e-06, 1e-12);
  EXPECT_EQ(p.Altitude(), 115911);
  p.SetAltitude(0);
  EXPECT_EQ(p.ScaleFactor(), 400.0L / 618'794'460.0L);
  // A fresh projection agrees too.
  FakeGlobeView other;
  EXPECT_EQ(other.P().Altitude(), p.Altitude());
}

TEST_F(GlobeProjection, CentreOfTheView) {
  p.SetScaleFactor(1e-5L);
  p.SetOrigin(platform::TPoint{350, 150});
  p.SetCenterLatitude(40);
  p.SetCenterLongitude(-30);
  EXPECT_EQ(p.XOrigin(), 300);
  EXPECT_EQ(p.YOrigin(), 200);
  EXPECT_NEAR(static_cast<double>(p.XRotation()), 40, 1e-5);
  EXPECT_NEAR(static_cast<double>(p.YRotation()), -30, 1e-5);
  EXPECT_NEAR(static_cast<double>(p.CenterLatitude()), 40, 1e-5);
  EXPECT_NEAR(static_cast<double>(p.CenterLongitude()), -30, 1e-5);
  // The middle off the globe.
  p.SetOrigin(platform::TPoint{-100'000, 200});
  EXPECT_EQ(p.CenterLatitude(), NoCenter);
  EXPECT_EQ(p.CenterLongitude(), NoCenter);
}

struct NotAModel : TGlobeRoot {
  explicit NotAModel(TGlobeProjection*) {}
};

TEST_F(GlobeProjection, ModelChangeByClassName) {
  p.SetScaleFactor(2e-6L);
  p.SetXRotation(30);
  p.SetYRotation(40);
  const int panned = view.Panned;
  p.SetProjectionClass("TCartesianPrj");
  EXPECT_EQ(p.ProjectionClass(), "TCartesianPrj");
  EXPECT_EQ(p.ModelFlags(), mfTextured);
  EXPECT_EQ(p.MeridianSegments(), 72);
  // The point that was under the middle stays there (within a pixel: 500,000 GlobeUnit).
  EXPECT_NEAR(static_cast<double>(p.CenterLatitude()), 30, 0.1);
  EXPECT_NEAR(static_cast<double>(p.CenterLongitude()), 40, 0.1);
  EXPECT_GE(view.Panned, panned);
  // Same name in other letter case: nothing happens.
  const TCustomProjectionModel* model = &p.ProjectionModel();
  p.SetProjectionClass("tcartesianprj");
  EXPECT_EQ(&p.ProjectionModel(), model);
  // Unknown and unsuitable classes leave the model in place.
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { p.SetProjectionClass("TNoSuchPrj"); }),
            "Class TNoSuchPrj not found");
  RegisterGlobeClass<NotAModel, TGlobeRoot, TGlobeProjection*>("TNotAModel");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { p.SetProjectionClass("TNotAModel"); }),
            "Class TNotAModel does not inherit from TProjectionModel");
  EXPECT_EQ(&p.ProjectionModel(), model);
  // Back to the globe; a null model installs a sphere as well.
  p.SetProjectionClass("TMercatorPrj");
  p.SetProjectionModel(nullptr);
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
  EXPECT_EQ(p.ModelFlags(), mfHorizonClip | mfTextured);
  EXPECT_NEAR(static_cast<double>(p.CenterLatitude()), 30, 0.1);
  EXPECT_NEAR(static_cast<double>(p.CenterLongitude()), 40, 0.1);
}

TEST_F(GlobeProjection, MinMaxLimitsSelectTheFlatMap) {
  p.SetCentralMeridian(30);
  p.SetUseMinMaxLimits(true);
  EXPECT_TRUE(p.UseMinMaxLimits());
  EXPECT_EQ(p.ProjectionClass(), "TCartesianPrj");
  EXPECT_EQ(p.XAxisChanges(), xaYOrigin);
  EXPECT_EQ(p.YAxisChanges(), yaXOrigin);
  EXPECT_EQ(p.CentralMeridian(), 0);
  EXPECT_EQ(p.CentralParallel(), 0);
}

void ExpectSameMapping(TGlobeProjection& a, TGlobeProjection& b) {
  for (auto [lon, lat] : {std::pair{0, 0}, {40, 30}, {-120, -60}, {179, 5}}) {
    platform::TPoint pa, pb;
    EXPECT_EQ(a.LLToDeviceXY(GU(lon), GU(lat), pa), b.LLToDeviceXY(GU(lon), GU(lat), pb));
    EXPECT_EQ(pa, pb) << lon << "," << lat;
  }
}

TEST_F(GlobeProjection, CloneAndAssignCopyTheViewState) {
  p.SetScaleFactor(3e-6L);
  p.SetXRotation(-12);
  p.SetYRotation(77);
  p.SetZRotation(5);
  p.SetOrigin(platform::TPoint{250, 260});
  p.SetMinZoom(1e-7L);
  p.SetMaxZoom(1e-2L);
  p.SetFirstParallel(33);
  p.SetSpheroid(TSpheroid::Clarke1866);
  p.SetXAxisChanges(xaNoAction);

  FakeGlobeView other;
  std::unique_ptr<TGlobeProjection> copy = p.Clone(&other);
  EXPECT_EQ(&copy->View(), &other);
  EXPECT_EQ(copy->ProjectionClass(), "TSphericalPrj");
  EXPECT_NE(&copy->ProjectionModel(), &p.ProjectionModel());
  EXPECT_EQ(&copy->ProjectionModel().Projection(), copy.get());
  EXPECT_EQ(copy->MinZoom(), 1e-7L);
  EXPECT_EQ(copy->FirstParallel(), 33);
  EXPECT_EQ(copy->Spheroid(), TSpheroid::Clarke1866);
  EXPECT_EQ(copy->XAxisChanges(), xaNoAction);
  ExpectSameMapping(p, *copy);
  copy->SetYRotation(0);
  EXPECT_EQ(p.YRotation(), 77);

  // A flat map carries its recorded rotations: rotating the copy pans like the original.
  p.SetUseMinMaxLimits(true);
  TGlobeProjection& q = other.P();
  q.Assign(p);
  EXPECT_FALSE(q.UseMinMaxLimits());
  EXPECT_EQ(q.ProjectionClass(), "TCartesianPrj");
  ExpectSameMapping(p, q);
  p.SetXRotation(p.XRotation() + 3);
  q.SetXRotation(q.XRotation() + 3);
  p.SetYRotation(p.YRotation() - 4);
  q.SetYRotation(q.YRotation() - 4);
  EXPECT_EQ(q.YOrigin(), p.YOrigin());
  EXPECT_EQ(q.XOrigin(), p.XOrigin());
  ExpectSameMapping(p, q);
}

TEST_F(GlobeProjection, SaveAndRestoreView) {
  p.SetScaleFactor(5e-6L);
  p.SetXRotation(51.5L);
  p.SetYRotation(-0.25L);
  p.SetZRotation(10);
  p.SetOrigin(platform::TPoint{123, 321});
  TGlobeViewRec saved;
  p.SaveView(saved);
  EXPECT_EQ(saved.XRotation, GU(51.5L));
  EXPECT_EQ(saved.YRotation, -1'350'000);
  EXPECT_EQ(saved.Origin, (platform::TPoint{123, 321}));
  FakeGlobeView reference;
  reference.P().Assign(p);

  p.SetScaleFactor(0);
  p.SetXRotation(-10);
  p.SetYRotation(100);
  p.SetZRotation(0);
  p.RestoreView(saved);
  EXPECT_EQ(p.ScaleFactor(), 5e-6L);
  EXPECT_EQ(p.XOrigin(), 123);
  EXPECT_EQ(p.YOrigin(), 321);
  EXPECT_EQ(p.XRotation(), 51.5L);
  ExpectSameMapping(p, reference.P());
}

TEST_F(GlobeProjection, EmptySurfaceAndExtremeValuesStayDefined) {
  FakeGlobeView empty(0, 0);
  TGlobeProjection& e = empty.P();
  EXPECT_EQ(e.ScaleFactor(), MinInitialScaleFactor);
  e.SetScaleFactor(1e-3L);
  e.SetScaleFactor(0);
  EXPECT_EQ(e.ScaleFactor(), MinInitialScaleFactor);
  EXPECT_EQ(e.Altitude(), 2'147'483'647);  // 1 / (tan 50° × 1e-10) does not fit: clamped
  TGeoPoint g;
  EXPECT_TRUE(e.DeviceXYToLL(0, 0, g));
  // Device coordinates beyond the 32-bit range stop at its ends.
  p.SetScaleFactor(3.0L);
  p.SetXRotation(0);
  p.SetOrigin(platform::TPoint{2'147'483'000, -2'147'483'000});
  platform::TPoint xy;
  p.LLToDeviceXY(GU(60), GU(60), xy);  // right of and above the far-away centre
  EXPECT_EQ(xy, (platform::TPoint{2'147'483'647, -2'147'483'648}));
  p.SetProjectionClass("TCartesianPrj");
  p.SetCentralMeridian(1e30L);
  p.LLToDeviceXY(GU(60), GU(-60), xy);
  EXPECT_FALSE(p.DeviceXYToLL(0, 0, g));
}

TEST_F(GlobeProjection, SetOriginPansOnlyOnChangeAndNotWhileLoading) {
  p.SetOrigin(platform::TPoint{10, 20});
  EXPECT_EQ(view.Panned, 1);
  const int redraws = view.Redraws, updates = view.ScrollUpdates;
  p.SetOrigin(platform::TPoint{10, 20});  // unchanged: no event, but a refresh and a redraw
  EXPECT_EQ(view.Panned, 1);
  EXPECT_EQ(view.Redraws, redraws + 1);
  EXPECT_EQ(view.ScrollUpdates, updates + 1);
  view.Loading = true;
  p.SetOrigin(platform::TPoint{11, 20});
  EXPECT_EQ(view.Panned, 1);
  EXPECT_EQ(p.XOrigin(), 11);
}

TEST_F(GlobeProjection, SamePixel) {  // about 1.55 million GlobeUnit a pixel at the centre
  view.P().SetXRotation(0);
  EXPECT_TRUE(SamePixel(view, TGeoPoint(0, 0), TGeoPoint(1000, -1000)));
  EXPECT_FALSE(SamePixel(view, TGeoPoint(0, 0), TGeoPoint(GU(1), 0)));
}

}  // namespace
}  // namespace globe
