// Layers and presenters: hit tests go through the object's presenter, found in the layer, its
// source or the global store; a hidden presenter's objects are never hit; copied layers copy
// their presenters.

#include <gtest/gtest.h>

#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/ClassRegistry.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobePresenter.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/view/PolyPresenter.h"

namespace globe {
namespace {

// Hits everything within one degree of the object's centre.
class TWidePresenter : public TPolyPresenter {
 public:
  using TPolyPresenter::TPolyPresenter;
  std::string ClassName() const override { return "TWidePresenter"; }
  bool HitTestObject(TCustomVoduz4&, const TGeoPoint& point, TGlobeObject& object, int32_t) override {
    const TGeoPoint centre = object.GetCentroid();
    return std::abs(int64_t{point.LongX} - centre.LongX) <= GlobeUnitsPerDegree &&
           std::abs(int64_t{point.LatY} - centre.LatY) <= GlobeUnitsPerDegree;
  }

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TCustomVoduz4* globe, int32_t id) const override {
    return std::make_unique<TWidePresenter>(globe, id);
  }
};

struct PresenterFixture : ::testing::Test {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = nullptr;
  TGeoDataObject* point = nullptr;
  const TGeoPoint nearby{GlobeUnitsPerDegree / 2, 0};

  void SetUp() override {
    RegisterPresenterClass<TWidePresenter>("TWidePresenter");
    layer = globe.LayerStore().NewLayer();
    point = layer->ObjectSource()->NewObject<TGeoDataObject>();
    point->SetCentroid(TGeoPoint(0, 0));
  }
};

TEST_F(PresenterFixture, ThePresenterDecidesTheHit) {
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), nullptr);  // no presenter: the point itself only
  point->SetPresenterID(layer->Presenters()->Add(std::make_unique<TWidePresenter>(&globe, 0)));
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), point);
  layer->Presenters()->Presenters(0)->SetHidden(true);
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), nullptr);
  EXPECT_EQ(layer->ObjectAtPoint(TGeoPoint(0, 0), 0), nullptr);  // not even at its centre
}

TEST_F(PresenterFixture, SourceAndGlobalPresentersServeToo) {
  layer->ObjectSource()->Presenters()->Add(std::make_unique<TWidePresenter>(&globe, 4));
  point->SetPresenterID(4);
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), point);
  globe.LayerStore().GlobalPresenters()->Add(std::make_unique<TWidePresenter>(&globe, -7));
  point->SetPresenterID(-7);
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), point);
  EXPECT_EQ(GlobalPresenterStore(globe), globe.LayerStore().GlobalPresenters());
}

TEST_F(PresenterFixture, ACopiedStoreSharesSourcesAndCopiesPresenters) {
  layer->SetName("Zones");
  layer->Presenters()->Add(std::make_unique<TWidePresenter>(&globe, 3));
  TGlobeLayer* copy = nullptr;
  globe.LayerStore().Assign(*layer);
  copy = globe.LayerStore().Layers(1);
  EXPECT_EQ(copy->Name(), "Zones");
  EXPECT_EQ(copy->ObjectSourceIfAny(), layer->ObjectSourceIfAny());
  EXPECT_NE(copy->Presenters()->Presenters(0), layer->Presenters()->Presenters(0));
  // The shared source lives on while one of its layers remains.
  globe.LayerStore().Delete(layer);
  EXPECT_EQ(copy->ObjectSource()->Count(), 1);
}

}  // namespace
}  // namespace globe
