// The projection's element in the environment file: what is written, and that reading it back
// restores the view.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "FakeGlobeView.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeException.h"
#include "globe/data/XmlDocument.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::FakeGlobeView;

std::vector<std::string> AttributeNames(const TGXML_Element& e) {
  std::vector<std::string> names;
  for (const auto& line : e.Lines())
    if (line.Kind == TGXML_Element::TLineKind::lkAttribute) names.push_back(line.Name);
  return names;
}

// Writes the projection as the "Projection" element of a document's text and reads it back.
std::unique_ptr<TGXML_Document> ThroughText(const TGlobeProjection& p) {
  TGXML_Document out;
  out.Root().AddElement("Projection", p.SaveEnvironment());
  auto in = std::make_unique<TGXML_Document>();
  in->LoadFromText(out.SaveToText());
  return in;
}

TEST(ProjectionEnvironment, ElementLayout) {
  FakeGlobeView view;
  view.P().SetProjectionClass("TMercatorPrj");
  const auto e = view.P().SaveEnvironment();
  EXPECT_EQ(AttributeNames(*e),
            (std::vector<std::string>{"ScaleFactor", "CentralMeridian", "CentralParallel",
                                      "FirstParallel", "SecondParallel", "MaxLatitude",
                                      "MaxLongitude", "MaxZoom", "MinLatitude", "MinLongitude",
                                      "MinZoom", "Spheroid", "XRotation", "YRotation", "ZRotation",
                                      "XOrigin", "YOrigin", "XAxisChanges", "YAxisChanges"}));
  EXPECT_EQ(e->Attribute("Spheroid", std::string()), "16");
  EXPECT_EQ(e->Attribute("YAxisChanges", std::string()), "1");
  const TGXML_Element* model = e->Element("ProjectionModel");
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(AttributeNames(*model), std::vector<std::string>{"Class"});
  EXPECT_EQ(model->Attribute("Class", std::string()), "TMercatorPrj");
  EXPECT_EQ(model->Count(), 1);
}

TEST(ProjectionEnvironment, RoundTripRestoresTheView) {
  FakeGlobeView view;
  TGlobeProjection& p = view.P();
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
  const auto doc = ThroughText(p);
  q.LoadEnvironment(doc->Root().Element("Projection"));
  EXPECT_EQ(q.ProjectionClass(), "TCartesianPrj");
  EXPECT_NEAR(static_cast<double>(q.ScaleFactor() / p.ScaleFactor()), 1.0, 1e-13);
  EXPECT_EQ(q.XRotation(), 12.25L);
  EXPECT_EQ(q.YRotation(), -33.5L);
  EXPECT_EQ(q.XOrigin(), -140);
  EXPECT_EQ(q.YOrigin(), 480);
  EXPECT_EQ(q.CentralMeridian(), 15);
  EXPECT_EQ(q.SecondParallel(), -7.5L);
  EXPECT_NEAR(static_cast<double>(q.MinZoom()), 1e-8, 1e-21);
  EXPECT_EQ(q.MaxZoom(), 0.5L);
  EXPECT_EQ(q.MaxLongitude(), 100);
  EXPECT_EQ(q.Spheroid(), TSpheroid::Bessel1841);
  EXPECT_EQ(q.XAxisChanges(), xaNoAction);
  EXPECT_EQ(q.YAxisChanges(), yaXOrigin);
  for (auto [lon, lat] : {std::pair{0, 0}, {15, 40}, {-100, -20}}) {
    platform::TPoint a, b;
    p.LLToDeviceXY(lon * 5'400'000, lat * 5'400'000, a);
    q.LLToDeviceXY(lon * 5'400'000, lat * 5'400'000, b);
    EXPECT_EQ(a, b);
  }
}

TEST(ProjectionEnvironment, MissingValuesKeepTheCurrentOnes) {
  FakeGlobeView view;
  TGlobeProjection& p = view.P();
  p.SetZRotation(5);
  const long double scale = p.ScaleFactor();
  p.LoadEnvironment(nullptr);
  TGXML_Element sparse;
  sparse.AddAttribute("YRotation", "42");
  p.LoadEnvironment(&sparse);
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
  EXPECT_EQ(p.YRotation(), 42);
  EXPECT_EQ(p.ZRotation(), 5);
  EXPECT_EQ(p.XRotation(), 23.5L);
  EXPECT_EQ(p.ScaleFactor(), scale);
  // Out-of-range enumeration ordinals are ignored.
  TGXML_Element bad;
  bad.AddAttribute("Spheroid", "40");
  bad.AddAttribute("XAxisChanges", "-1");
  p.LoadEnvironment(&bad);
  EXPECT_EQ(p.Spheroid(), TSpheroid::WGS84);
  EXPECT_EQ(p.XAxisChanges(), xaYOrigin);
}

struct NotAProjectionModel : TGlobeRoot {
  explicit NotAProjectionModel(TGlobeProjection*) {}
};

TEST(ProjectionEnvironment, ModelClassMustBeARegisteredProjectionModel) {
  FakeGlobeView view;
  TGlobeProjection& p = view.P();
  TGXML_Element e;
  e.AddElement("ProjectionModel")->AddAttribute("Class", "TNoSuchModel");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { p.LoadEnvironment(&e); }),
            "Class TNoSuchModel not found");
  RegisterGlobeClass<NotAProjectionModel, TGlobeRoot, TGlobeProjection*>("TNotAProjectionModel");
  TGXML_Element other;
  other.AddElement("ProjectionModel")->AddAttribute("Class", "TNotAProjectionModel");
  EXPECT_THROW(p.LoadEnvironment(&other), EGlobeException);
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
  // Without a class attribute the current class is created again.
  TGXML_Element plain;
  plain.AddElement("ProjectionModel");
  p.LoadEnvironment(&plain);
  EXPECT_EQ(p.ProjectionClass(), "TSphericalPrj");
}

}  // namespace
}  // namespace globe
