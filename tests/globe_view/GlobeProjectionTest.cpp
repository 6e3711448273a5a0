// The globe projection: creation, setters' limits, zoom, model changes by class name, saved
// views, panning, and its element in the environment.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "FakeGlobeView.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeException.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/CartesianPrj.h"
#include "globe/view/SamePixel.h"
#include "globe/view/SphericalPrj.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::FakeGlobeView;

using testing::GU;
using GlobeProjection = testing::ProjectionFixture;

struct NotAModel : TGlobeRoot {
  explicit NotAModel(TGlobeProjection*) {}
};

void ExpectSameMapping(TGlobeProjection& a, TGlobeProjection& b) {
  for (auto [lon, lat] : {std::pair{0, 0}, {40, 30}, {-120, -60}, {179, 5}}) {
    platform::TPoint pa, pb;
    EXPECT_EQ(a.LLToDeviceXY(GU(lon), GU(lat), pa), b.LLToDeviceXY(GU(lon), GU(lat), pb));
    EXPECT_EQ(pa, pb) << lon << "," << lat;
  }
}

TEST(GlobeProjectionFit, CreationFitsTheGlobeAndRejectsANullView) {
  FakeGlobeView view(579, 581);
  TGlobeProjection& p = view.P();
  EXPECT_EQ(p.ScaleFactor(), 579.0L / 618'794'460.0L);  // the diameter fits the width
  EXPECT_EQ(std::pair(p.XOrigin(), p.YOrigin()), std::pair(289, 290));
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { TGlobeProjection bad(nullptr); }),
            "TGlobeProjection.Create passed nil parent");
}

TEST_F(GlobeProjection, IndexedSettersClampWrapAndNotify) {
  // Latitudes are held to the poles, angles wrapped once into -180..180.
  p.SetMaxLatitude(95);
  p.SetXRotation(-91);
  p.SetZRotation(-200);
  p.SetYRotation(540);
  EXPECT_EQ(std::tuple(p.MaxLatitude(), p.XRotation(), p.ZRotation(), p.YRotation()), std::tuple(90.0L, -90.0L, 160.0L, 180.0L));
  // Unchanged and non-finite values are ignored without a redraw.
  const int before = view.Redraws;
  p.SetCentralParallel(p.CentralParallel());
  p.SetXOrigin(p.XOrigin());
  p.SetZRotation(std::nanl(""));
  p.SetZRotation(INFINITY);
  EXPECT_EQ(view.Redraws, before);
  EXPECT_EQ(p.ZRotation(), 160);
  p.SetXOrigin(17);
  EXPECT_EQ(view.Redraws, before + 1);
}

TEST(GlobeProjectionFit, ZoomFitsClampsAndIgnores) {
  FakeGlobeView view(579, 581);
  TGlobeProjection& p = view.P();
  p.SetScaleFactor(1e-5L);
  EXPECT_EQ(view.Zoomed, 1);
  p.SetOrigin(platform::TPoint{10, 20});
  p.SetScaleFactor(0);  // fit: origin to the middle (289.5 and 290.5 round to even)
  EXPECT_EQ(std::pair(p.XOrigin(), p.YOrigin()), std::pair(290, 290));
  p.SetScaleFactor(5);
  EXPECT_EQ(p.ScaleFactor(), 3.0L);
  const int zoomed = view.Zoomed;
  p.SetScaleFactor(-1);
  p.SetScaleFactor(3.0L - 5e-11L);
  EXPECT_EQ(p.ScaleFactor(), 3.0L);
  EXPECT_EQ(view.Zoomed, zoomed);
  // Zoom bounds apply when MinZoom < MaxZoom; bounds below zero allow no zoom at all.
  const struct {
    long double Min, Max, Set, Kept;
  } bounds[] = {{1e-6L, 1e-5L, 1e-3L, 1e-5L}, {1e-6L, 1e-5L, 1e-9L, 1e-6L}, {0, 0, 1e-3L, 1e-3L}, {-10, -5, 1e-4L, 1e-3L}};
  for (const auto& row : bounds) {
    p.SetMinZoom(row.Min);
    p.SetMaxZoom(row.Max);
    p.SetScaleFactor(row.Set);
    EXPECT_EQ(p.ScaleFactor(), row.Kept) << static_cast<double>(row.Set);
  }
  // No event while the view loads its form description.
  p.SetMinZoom(0);
  p.SetMaxZoom(0);
  view.Loading = true;
  const int loading = view.Zoomed;
  p.SetScaleFactor(2e-3L);
  EXPECT_EQ(std::pair(p.ScaleFactor(), view.Zoomed), std::pair(2e-3L, loading));
  // The window never spans more than the integer range.
  FakeGlobeView wide(1000, 500);
  wide.P().SetScaleFactor(1e-7L);  // 1000 / 1e-7 = 1e10 GlobeUnit across
  EXPECT_EQ(wide.P().ScaleFactor(), 1000.0L / 2'147'483'647.0L);
  EXPECT_EQ(wide.ViewExtentGU, (platform::TRect{0, 0, 2'147'483'647, 1'073'741'824}));
}

TEST_F(GlobeProjection, ModelChangeByClassName) {
  p.SetScaleFactor(2e-6L);
  p.SetXRotation(30);
  p.SetYRotation(40);
  const int panned = view.Panned;
  p.SetProjectionClass("TCartesianPrj");
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
  // A null model installs a sphere; min/max limits select the flat map.
  p.SetProjectionModel(nullptr);
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
  p.SetCentralMeridian(30);
  p.SetUseMinMaxLimits(true);
  EXPECT_EQ(p.ProjectionClass(), "TCartesianPrj");
  EXPECT_EQ(p.YAxisChanges(), yaXOrigin);
  EXPECT_EQ(p.CentralMeridian(), 0);
}

TEST_F(GlobeProjection, SaveAndRestoreView) {
  p.SetScaleFactor(5e-6L);
  p.SetXRotation(51.5L);
  p.SetYRotation(-0.25L);
  p.SetZRotation(10);
  p.SetOrigin(platform::TPoint{123, 321});
  TGlobeViewRec saved;
  p.SaveView(saved);
  FakeGlobeView reference;
  reference.P().Assign(p);
  p.SetScaleFactor(0);
  p.SetXRotation(-10);
  p.SetYRotation(100);
  p.SetZRotation(0);
  p.RestoreView(saved);
  EXPECT_EQ(p.ScaleFactor(), 5e-6L);
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

TEST_F(GlobeProjection, SamePixelAndSetOriginPansOnlyOnChangeAndNotWhileLoading) {
  p.SetXRotation(0);  // about 1.55 million GlobeUnit a pixel at the centre
  EXPECT_TRUE(SamePixel(view, TGeoPoint(0, 0), TGeoPoint(1000, -1000)));
  EXPECT_FALSE(SamePixel(view, TGeoPoint(0, 0), TGeoPoint(GU(1), 0)));
  const int panned = view.Panned;
  p.SetOrigin(platform::TPoint{10, 20});
  EXPECT_EQ(view.Panned, panned + 1);
  const int redraws = view.Redraws;
  p.SetOrigin(platform::TPoint{10, 20});  // unchanged: no event, but a redraw
  EXPECT_EQ(view.Panned, panned + 1);
  EXPECT_EQ(view.Redraws, redraws + 1);
  view.Loading = true;
  p.SetOrigin(platform::TPoint{11, 20});
  EXPECT_EQ(view.Panned, panned + 1);
  EXPECT_EQ(p.XOrigin(), 11);
}

std::string Text(const TGlobeProjection& p) {
  TGXML_Document out;
  out.Root().AddElement("Projection", p.SaveEnvironment());
  return out.SaveToText();
}

TEST_F(GlobeProjection, EnvironmentRoundTripRestoresTheView) {
  p.SetProjectionClass("TCartesianPrj");
  p.SetScaleFactor(1.2345678e-6L);
  p.SetXRotation(12.25L);
  p.SetYRotation(-33.5L);
  p.SetOrigin(platform::TPoint{-140, 480});
  p.SetCentralMeridian(15);
  p.SetSecondParallel(-7.5L);
  p.SetMinZoom(1e-8L);
  p.SetMaxZoom(0.5L);
  p.SetMaxLongitude(100);
  p.SetSpheroid(TSpheroid::Bessel1841);
  p.SetXAxisChanges(xaNoAction);
  p.SetYAxisChanges(yaXOrigin);
  FakeGlobeView other(300, 300);
  TGlobeProjection& q = other.P();
  TGXML_Document in;
  in.LoadFromText(Text(p));
  q.LoadEnvironment(in.Root().Element("Projection"));
  EXPECT_EQ(Text(q), Text(p));
  ExpectSameMapping(p, q);
  // The element's attributes in their order, then the model's element.
  const auto e = p.SaveEnvironment();
  std::vector<std::string> names;
  for (const auto& line : e->Lines())
    if (line.Kind == TGXML_Element::TLineKind::lkAttribute) names.push_back(line.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"ScaleFactor", "CentralMeridian", "CentralParallel", "FirstParallel",
                                             "SecondParallel", "MaxLatitude", "MaxLongitude", "MaxZoom",
                                             "MinLatitude", "MinLongitude", "MinZoom", "Spheroid", "XRotation",
                                             "YRotation", "ZRotation", "XOrigin", "YOrigin", "XAxisChanges",
                                             "YAxisChanges"}));
  EXPECT_EQ(e->Attribute("Spheroid", std::string()), "2");
  EXPECT_EQ(e->Element("ProjectionModel")->Attribute("Class", std::string()), "TCartesianPrj");
}

TEST_F(GlobeProjection, EnvironmentMissingOrBadValuesKeepTheCurrentOnes) {
  p.SetZRotation(5);
  const long double scale = p.ScaleFactor();
  p.LoadEnvironment(nullptr);
  TGXML_Element sparse;
  sparse.AddAttribute("YRotation", "42");
  sparse.AddAttribute("Spheroid", "40");  // out-of-range enumeration ordinals are ignored
  sparse.AddAttribute("XAxisChanges", "-1");
  p.LoadEnvironment(&sparse);
  EXPECT_EQ(std::tuple(p.YRotation(), p.ZRotation(), p.ScaleFactor()), std::tuple(42.0L, 5.0L, scale));
  EXPECT_EQ(p.Spheroid(), TSpheroid::WGS84);
  EXPECT_EQ(p.XAxisChanges(), xaYOrigin);
  // An unknown model class is refused; without one the current class is created again.
  TGXML_Element e;
  e.AddElement("ProjectionModel")->AddAttribute("Class", "TNoSuchModel");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { p.LoadEnvironment(&e); }), "Class TNoSuchModel not found");
  TGXML_Element plain;
  plain.AddElement("ProjectionModel");
  p.LoadEnvironment(&plain);
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
}

}  // namespace
}  // namespace globe
