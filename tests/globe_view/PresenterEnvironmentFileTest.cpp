// Presenters inside a whole environment: the global presenters and a layer's presenters are
// written with the globe and come back from the saved text unchanged.
#include <gtest/gtest.h>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobePen.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/PresenterClasses.h"

namespace globe {
namespace {

std::string EnvironmentText(const TCustomVoduz4& globe) {
  TGXML_Document document;
  document.Root().AddElement("TGlobe", globe.SaveEnvironment());
  return document.SaveToText();
}

class PresenterEnvironmentFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPresenterClasses(); }
};

TEST_F(PresenterEnvironmentFileTest, LayerAndGlobalPresentersRoundTrip) {
  TCustomVoduz4 globe;
  ASSERT_NE(nullptr, globe.LayerStore().GlobalPresenters());
  auto* global = dynamic_cast<TPointPresenter*>(globe.LayerStore().GlobalPresenters()->ByID(-1, false));
  ASSERT_NE(nullptr, global);
  global->SetPointSize(9);

  TGlobeLayer* bases = globe.LayerStore().NewLayer();
  bases->SetName("Bases");
  auto port = std::make_unique<TPointPresenter>(&globe, 0);
  port->SetName("AxisPort");
  port->SetPointUnit(TGlobeUnitTypes::Kilometer);
  port->SetPointSize(20);
  port->SetMaxPointSize(15);
  port->PointBrush().SetBrushColor(0x0000FF);
  bases->Presenters()->Add(std::move(port));
  auto zone = std::make_unique<TPolygonPresenter>(&globe, 0);
  zone->SetName("");
  zone->PolyBrush().SetBrushStyle(bsClear);
  bases->Presenters()->Add(std::move(zone));
  const std::string saved = EnvironmentText(globe);

  TGXML_Document document;
  document.LoadFromText(saved);
  TCustomVoduz4 loaded;
  loaded.LoadEnvironment(document.Root().Element("TGlobe"));
  EXPECT_EQ(saved, EnvironmentText(loaded));

  TGlobeLayer* layer = loaded.LayerStore().LayerByName("Bases");
  ASSERT_NE(nullptr, layer);
  ASSERT_EQ(2, layer->Presenters()->Count());
  auto* back = dynamic_cast<TPointPresenter*>(layer->Presenters()->ByID(1, false));
  ASSERT_NE(nullptr, back);
  EXPECT_EQ("AxisPort", back->Name());
  EXPECT_EQ(15, back->MaxPointSize());
  EXPECT_EQ(0x0000FFu, back->PointBrush().BrushColor());
  EXPECT_EQ("TPolygonPresenter", layer->Presenters()->ByID(2, false)->ClassName());
  EXPECT_EQ("", layer->Presenters()->ByID(2, false)->Name());
  // The layer's store finds the loaded global presenters through the globe.
  auto* loadedGlobal = dynamic_cast<TPointPresenter*>(layer->Presenters()->ByID(-1, true));
  ASSERT_NE(nullptr, loadedGlobal);
  EXPECT_EQ(9, loadedGlobal->PointSize());
}

}  // namespace
}  // namespace globe
