// The layer store: lookup by name and index, ordering, selection across layers and hit tests.

#include <gtest/gtest.h>

#include "GlobeDataFixtures.h"
#include "Points.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::Deg;
using testing::DegPoint;

TGlobeLayer* NamedLayer(TCustomVoduz4& globe, const char* name) {
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  layer->SetName(name);
  return layer;
}

// A closed square of side 2 degrees with its south-west corner at (x, y) degrees.
TGeoDataObject* Square(TGlobeLayer& layer, int x, int y) {
  TGeoDataObject* object = layer.ObjectSource()->NewObject<TGeoDataObject>();
  for (TGeoPoint p : {DegPoint(x, y), DegPoint(x, y + 2), DegPoint(x + 2, y + 2), DegPoint(x + 2, y)})
    object->Chains().Chain(0).Add(p);
  object->SetClosed(true);
  return object;
}

TEST(LayerStore, NamesCompareWithoutCaseIndicesAreCheckedAndSettingOneMovesTheLayer) {
  std::vector<std::string> events;  // before the view, which reports to it until its end
  TCustomVoduz4 globe;
  globe.OnLayerCreate = [&](TCustomVoduz4&, TGlobeLayer* l) { events.push_back("create " + l->Name()); };
  globe.OnLayerFree = [&](TCustomVoduz4&, TGlobeLayer* l) { events.push_back("free " + l->Name()); };
  TGlobeLayer* a = NamedLayer(globe, "Bases");
  TGlobeLayer* subs = NamedLayer(globe, "  Subs0 ");
  TGlobeLayer* c = NamedLayer(globe, "C");
  TGlobeLayerStore& store = globe.LayerStore();
  EXPECT_EQ(subs->Name(), "Subs0");
  EXPECT_EQ(store.LayerByName("subs0"), subs);
  EXPECT_EQ(store.IndexOfName("SUBS0"), 1);
  EXPECT_EQ(store.LayerByName("subs1"), nullptr);
  EXPECT_EQ(store.IndexOfName("Subs"), -1);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.Layers(3); }), "TVoduz4.GetLayer: Bad layer index 3");
  EXPECT_THROW(store.Layers(-1), EGlobeException);
  c->SetIndex(0);
  EXPECT_EQ(store.Layers(0), c);
  EXPECT_EQ(subs->Index(), 2);
  std::unique_ptr<TGlobeLayer> taken = store.Remove(a);
  EXPECT_EQ(taken->Index(), -1);
  EXPECT_EQ(store.Count(), 2);
  store.Delete(c);
  EXPECT_EQ(events, (std::vector<std::string>{"create TGlobeLayer", "create TGlobeLayer", "create TGlobeLayer", "free C"}));
}

TEST(LayerStore, ZoomLimitsFollowTheirUnit) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  layer->SetZoomMin(60);   // nautical miles: one degree
  layer->SetZoomMax(100);  // 100 NM = 185.2 km
  layer->SetModified(false);
  layer->SetZoomUnits(TGlobeUnitTypes::Kilometer);
  EXPECT_EQ(layer->ZoomMin(), 111);  // 111.12 km
  EXPECT_EQ(layer->ZoomMax(), 185);
  layer->SetZoomUnits(TGlobeUnitTypes::Degree);
  EXPECT_EQ(layer->ZoomMin(), 1);
  EXPECT_TRUE(layer->Modified());
}

TEST(LayerStore, SelectingInOneLayerDeselectsTheOtherAndDestroyingClearsTheSelection) {
  std::vector<TGlobeObject*> freed;  // before the view, which reports to it until its end
  int selectionEvents = 0;
  TCustomVoduz4 globe;
  TGlobeLayer* first = NamedLayer(globe, "First");
  TGeoDataObject* a = Square(*first, 0, 0);
  TGeoDataObject* b = Square(*NamedLayer(globe, "Second"), 10, 10);
  globe.OnObjectSelectChange = [&](TCustomVoduz4&, TGlobeObject*) { ++selectionEvents; };
  TGlobeLayerStore& store = globe.LayerStore();
  store.SetSelectedObject(a);
  EXPECT_TRUE(a->Selected());
  EXPECT_EQ(selectionEvents, 1);
  store.SetSelectedObject(b);
  EXPECT_FALSE(a->Selected());
  EXPECT_EQ(store.SelectedObject(), b);
  EXPECT_EQ(store.SelectedObjects(1), nullptr);
  a->SetSelected(true);  // several selected objects are listed layer by layer
  EXPECT_EQ(store.SelectedObjects(0), a);
  EXPECT_EQ(store.SelectedObjects(1), b);
  store.SetSelectedObject(nullptr);
  EXPECT_FALSE(a->Selected() || b->Selected());
  EXPECT_EQ(store.SelectedObjects(0), nullptr);
  store.SetSelectedObject(a);
  globe.OnObjectFree = [&](TCustomVoduz4&, TGlobeObject* o) { freed.push_back(o); };
  first->ObjectSource()->SetCount(0);
  EXPECT_EQ(store.SelectedObject(), nullptr);
  EXPECT_EQ(freed, std::vector<TGlobeObject*>{a});
}

TEST(LayerStore, HiddenObjectsAndClosedLayersAreNeverHit) {
  TCustomVoduz4 globe;
  TGlobeLayer* lower = NamedLayer(globe, "Lower");
  TGlobeLayer* upper = NamedLayer(globe, "Upper");
  TGeoDataObject* below = Square(*lower, 0, 0);
  TGeoDataObject* above = Square(*upper, 0, 0);
  TGlobeLayerStore& store = globe.LayerStore();
  EXPECT_EQ(store.ObjectAtLL(DegPoint(1, 1), 0), above);  // the top layer answers first
  EXPECT_EQ(store.ObjectAtLL(DegPoint(5, 5), 0), nullptr);
  above->SetHidden(true);
  EXPECT_EQ(above->HitTest(DegPoint(1, 1), 0), 0);
  EXPECT_EQ(store.ObjectAtLL(DegPoint(1, 1), 0), below);
  above->SetHidden(false);
  upper->SetEnabled(false);
  EXPECT_EQ(store.ObjectAtLL(DegPoint(1, 1), 0), below);
  upper->SetEnabled(true);
  upper->SetVisible(false);
  EXPECT_EQ(store.ObjectAtLL(DegPoint(1, 1), 0), below);
  lower->SetVisible(false);
  EXPECT_EQ(store.ObjectAtLL(DegPoint(1, 1), 0), nullptr);
}

TEST(LayerStore, LinesAreHitWithinTheToleranceAndBoundsAcrossTheDateLineOnBothSides) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = NamedLayer(globe, "Lines");
  TGeoDataObject* line = layer->ObjectSource()->NewObject<TGeoDataObject>();
  line->Chains().Chain(0).Add(DegPoint(0, 0));
  line->Chains().Chain(0).Add(DegPoint(4, 0));
  const TGeoPoint nearLine(2 * Deg, -1000);  // south of it: that edge is inclusive
  EXPECT_EQ(layer->ObjectAtPoint(nearLine, 999), nullptr);
  EXPECT_EQ(layer->ObjectAtPoint(nearLine, 1000), line);
  line->Chains().Chain(0).Add(DegPoint(4, 3));  // closed, it is hit anywhere within its area
  line->SetClosed(true);
  EXPECT_EQ(layer->ObjectAtPoint(DegPoint(3, 1), 0), line);

  TGeoDataObject* object = layer->ObjectSource()->NewObject<TGeoDataObject>();
  object->Chains().Chain(0).Add(DegPoint(170, 0));
  object->Chains().Chain(0).Add(DegPoint(-170, 10));
  EXPECT_EQ(object->GetBounds(), TGeoRect(170 * Deg, 0, 20 * Deg, 10 * Deg));  // from 170 E, 20 degrees wide
  // The south edge is inside, the north edge outside.
  for (auto [point, hit] : {std::pair{DegPoint(175, 5), 2}, {DegPoint(-175, 5), 1}, {DegPoint(-165, 5), 0},
                            {DegPoint(175, 10), 0}, {DegPoint(175, 0), 2}})
    EXPECT_EQ(object->HitTest(point, 0), hit) << point.LongX << " " << point.LatY;
}

TEST(LayerStore, AnotherViewsLayerIsCopiedWithASourceOfItsOwn) {
  TCustomVoduz4 first;
  TGlobeLayer* original = NamedLayer(first, "Zones");
  original->SetObjectSource(first.NewObjectSource<testing::TLineReader>());
  original->ObjectSource()->SetActive(true);
  original->SetShowTitles(false);
  testing::RegisterTestSources();
  auto second = std::make_unique<TCustomVoduz4>();
  second->LayerStore().Assign(first.LayerStore());
  TGlobeLayer* copy = second->LayerStore().LayerByName("zones");
  ASSERT_NE(copy, nullptr);
  EXPECT_FALSE(copy->ShowTitles());
  TGlobeObjectSource* own = copy->ObjectSourceIfAny();
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, original->ObjectSourceIfAny());
  EXPECT_EQ(own->Globe(), second.get());
  EXPECT_EQ(own->ClassName(), "TLineReader");
  EXPECT_TRUE(own->Active());
  second.reset();  // either view can go first
  EXPECT_EQ(original->ObjectSource()->LayerCount(), 1);
}

}  // namespace
}  // namespace globe
