// The layer store: lookup by name and index, ordering, selection across layers and hit tests.

#include <gtest/gtest.h>

#include "GlobeDataFixtures.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

TGlobeLayer* NamedLayer(TCustomVoduz4& globe, const char* name) {
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  layer->SetName(name);
  return layer;
}

// A closed square of side 2 degrees with its south-west corner at (x, y) degrees.
TGeoDataObject* Square(TGlobeLayer& layer, int x, int y) {
  TGeoDataObject* object = layer.ObjectSource()->NewObject<TGeoDataObject>();
  TPointStore& ring = object->Chains().Chain(0);
  const int d = GlobeUnitsPerDegree;
  ring.Add(TGeoPoint(x * d, y * d));
  ring.Add(TGeoPoint(x * d, (y + 2) * d));
  ring.Add(TGeoPoint((x + 2) * d, (y + 2) * d));
  ring.Add(TGeoPoint((x + 2) * d, y * d));
  object->SetClosed(true);
  return object;
}

TGeoPoint Degrees(int x, int y) { return TGeoPoint(x * GlobeUnitsPerDegree, y * GlobeUnitsPerDegree); }

TEST(LayerStoreLookup, NamesCompareWithoutCaseAndIndicesAreChecked) {
  TCustomVoduz4 globe;
  NamedLayer(globe, "Bases");
  TGlobeLayer* subs = NamedLayer(globe, "  Subs0 ");
  TGlobeLayerStore& store = globe.LayerStore();
  EXPECT_EQ(subs->Name(), "Subs0");
  EXPECT_EQ(store.LayerByName("subs0"), subs);
  EXPECT_EQ(store.IndexOfName("SUBS0"), 1);
  EXPECT_EQ(store.LayerByName("subs1"), nullptr);
  EXPECT_EQ(store.IndexOfName("Subs"), -1);

  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.Layers(2); }),
            "TVoduz4.GetLayer: Bad layer index 2");
  EXPECT_THROW(store.Layers(-1), EGlobeException);
}

TEST(LayerStoreLookup, SettingALayerIndexMovesIt) {
  TCustomVoduz4 globe;
  TGlobeLayer* a = NamedLayer(globe, "A");
  TGlobeLayer* b = NamedLayer(globe, "B");
  TGlobeLayer* c = NamedLayer(globe, "C");
  c->SetIndex(0);
  EXPECT_EQ(globe.LayerStore().Layers(0), c);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(b->Index(), 2);
  std::unique_ptr<TGlobeLayer> taken = globe.LayerStore().Remove(a);
  EXPECT_EQ(taken->Index(), -1);
  EXPECT_EQ(globe.LayerStore().Count(), 2);
}

TEST(LayerStoreLookup, LayerEventsAreRaised) {
  TCustomVoduz4 globe;
  std::vector<std::string> events;
  globe.OnLayerCreate = [&](TCustomVoduz4&, TGlobeLayer* l) { events.push_back("create " + l->Name()); };
  globe.OnLayerFree = [&](TCustomVoduz4&, TGlobeLayer* l) { events.push_back("free " + l->Name()); };
  TGlobeLayer* layer = globe.LayerStore().Add(std::make_unique<TGlobeLayer>(&globe));
  layer->SetName("X");
  globe.LayerStore().Delete(layer);
  EXPECT_EQ(events, (std::vector<std::string>{"create TGlobeLayer", "free X"}));
}

TEST(LayerSettings, ZoomLimitsFollowTheirUnit) {
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

TEST(LayerSelection, SelectingInOneLayerDeselectsTheOther) {
  TCustomVoduz4 globe;
  TGlobeLayer* first = NamedLayer(globe, "First");
  TGlobeLayer* second = NamedLayer(globe, "Second");
  TGeoDataObject* a = Square(*first, 0, 0);
  TGeoDataObject* b = Square(*second, 10, 10);
  int selectionEvents = 0;
  globe.OnObjectSelectChange = [&](TCustomVoduz4&, TGlobeObject*) { ++selectionEvents; };

  TGlobeLayerStore& store = globe.LayerStore();
  store.SetSelectedObject(a);
  EXPECT_TRUE(a->Selected());
  EXPECT_EQ(selectionEvents, 1);
  store.SetSelectedObject(b);
  EXPECT_FALSE(a->Selected());
  EXPECT_TRUE(b->Selected());
  EXPECT_EQ(store.SelectedObject(), b);
  EXPECT_EQ(store.SelectedObjects(0), b);
  EXPECT_EQ(store.SelectedObjects(1), nullptr);

  // Several selected objects are listed layer by layer.
  a->SetSelected(true);
  EXPECT_EQ(store.SelectedObjects(0), a);
  EXPECT_EQ(store.SelectedObjects(1), b);

  store.SetSelectedObject(nullptr);
  EXPECT_FALSE(a->Selected());
  EXPECT_FALSE(b->Selected());
  EXPECT_EQ(store.SelectedObjects(0), nullptr);
}

TEST(LayerSelection, DestroyingTheSelectedObjectClearsTheSelection) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = NamedLayer(globe, "L");
  TGeoDataObject* a = Square(*layer, 0, 0);
  globe.LayerStore().SetSelectedObject(a);
  std::vector<TGlobeObject*> freed;
  globe.OnObjectFree = [&](TCustomVoduz4&, TGlobeObject* o) { freed.push_back(o); };
  layer->ObjectSource()->SetCount(0);
  EXPECT_EQ(globe.LayerStore().SelectedObject(), nullptr);
  EXPECT_EQ(freed, std::vector<TGlobeObject*>{a});
}

TEST(LayerHitTest, HiddenObjectsAndClosedLayersAreNeverHit) {
  TCustomVoduz4 globe;
  TGlobeLayer* lower = NamedLayer(globe, "Lower");
  TGlobeLayer* upper = NamedLayer(globe, "Upper");
  TGeoDataObject* below = Square(*lower, 0, 0);
  TGeoDataObject* above = Square(*upper, 0, 0);
  TGlobeLayerStore& store = globe.LayerStore();

  EXPECT_EQ(store.ObjectAtLL(Degrees(1, 1), 0), above);  // the top layer answers first
  EXPECT_EQ(store.ObjectAtLL(Degrees(5, 5), 0), nullptr);

  above->SetHidden(true);
  EXPECT_EQ(above->HitTest(Degrees(1, 1), 0), 0);
  EXPECT_EQ(store.ObjectAtLL(Degrees(1, 1), 0), below);

  above->SetHidden(false);
  upper->SetEnabled(false);
  EXPECT_EQ(store.ObjectAtLL(Degrees(1, 1), 0), below);
  upper->SetEnabled(true);
  upper->SetVisible(false);
  EXPECT_EQ(store.ObjectAtLL(Degrees(1, 1), 0), below);
  lower->SetVisible(false);
  EXPECT_EQ(store.ObjectAtLL(Degrees(1, 1), 0), nullptr);
}

TEST(LayerHitTest, OpenLinesAreHitWithinTheTolerance) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = NamedLayer(globe, "Lines");
  TGeoDataObject* line = layer->ObjectSource()->NewObject<TGeoDataObject>();
  line->Chains().Chain(0).Add(Degrees(0, 0));
  line->Chains().Chain(0).Add(Degrees(4, 0));
  const TGeoPoint nearLine(2 * GlobeUnitsPerDegree, -1000);  // south of it: that edge is inclusive
  EXPECT_EQ(layer->ObjectAtPoint(nearLine, 999), nullptr);
  EXPECT_EQ(layer->ObjectAtPoint(nearLine, 1000), line);
  // Inside a closed ring only: the same line, closed, is hit anywhere within its area.
  line->Chains().Chain(0).Add(Degrees(4, 3));
  line->SetClosed(true);
  EXPECT_EQ(layer->ObjectAtPoint(Degrees(3, 1), 0), line);
}

TEST(LayerHitTest, BoundsAcrossTheDateLineHitOnBothSides) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  TGeoDataObject* object = source->NewObject<TGeoDataObject>();
  object->Chains().Chain(0).Add(Degrees(170, 0));
  object->Chains().Chain(0).Add(Degrees(-170, 10));
  // 170 E to 170 W: bounds from 170 E, 20 degrees wide.
  EXPECT_EQ(object->GetBounds(), TGeoRect(170 * GlobeUnitsPerDegree, 0, 20 * GlobeUnitsPerDegree, 10 * GlobeUnitsPerDegree));
  EXPECT_EQ(object->HitTest(Degrees(175, 5), 0), 2);
  EXPECT_EQ(object->HitTest(Degrees(-175, 5), 0), 1);
  EXPECT_EQ(object->HitTest(Degrees(-165, 5), 0), 0);
  EXPECT_EQ(object->HitTest(Degrees(175, 10), 0), 0);  // the north edge is outside
  EXPECT_EQ(object->HitTest(Degrees(175, 0), 0), 2);   // the south edge is inside
}

TEST(LayerCopies, AnotherViewsLayerIsCopiedWithASourceOfItsOwn) {
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
  // Either view can go first.
  second.reset();
  EXPECT_EQ(original->ObjectSource()->LayerCount(), 1);
}

}  // namespace
}  // namespace globe
