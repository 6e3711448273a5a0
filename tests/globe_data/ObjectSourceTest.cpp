// Object sources: entries, capacity, building on demand, removal, flushing, and the rule that a
// source ends with its last layer.

#include <gtest/gtest.h>

#include <stdexcept>

#include "GlobeDataFixtures.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using testing::TLineReader;

TEST(ObjectSourceEntries, CountGrowsCapacityAndFillsEmptyRecords) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  source->SetCount(256);
  EXPECT_EQ(source->Capacity(), 511);
  EXPECT_EQ(source->GetObjectData(255).State(), osEmptyRecord);
  source->SetCount(10);
  EXPECT_EQ(source->Capacity(), 511);  // shrinking the count keeps the room
  source->SetCapacity(4);
  EXPECT_EQ(source->Count(), 4);

  EXPECT_EQ(ThrownMessage<std::logic_error>([&] { source->GetObjectData(4); }),
            "GetObjectData: Invalid Index");
  EXPECT_THROW(source->SetObjectData(-1, nullptr), std::logic_error);
}

TEST(ObjectSourceEntries, PlainSourceCannotBuildAnEmptyRecord) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  source->SetCount(1);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { source->Objects(0); }),
            "TGlobeReader returned nil object");
  EXPECT_FALSE(source->Building());
}

TEST(ObjectSourceEntries, RemovingRenumbersTheLaterObjects) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  TGeoDataObject* objects[5];
  for (auto& object : objects) object = source->NewObject<TGeoDataObject>();

  std::unique_ptr<TGlobeObject> removed = source->Remove(objects[2]);
  ASSERT_EQ(removed.get(), objects[2]);
  EXPECT_EQ(source->Count(), 4);
  EXPECT_EQ(objects[3]->Index(), 2);
  EXPECT_EQ(objects[4]->Index(), 3);
  EXPECT_EQ(source->Objects(2), objects[3]);
  EXPECT_EQ(removed->Index(), -1);
  EXPECT_EQ(removed->State(), osRemoved);
  EXPECT_EQ(removed->ObjectSource(), nullptr);
  // Taking it out twice finds nothing.
  EXPECT_EQ(source->Remove(removed.get()), nullptr);

  source->Move(0, 3);
  EXPECT_EQ(source->Objects(3), objects[0]);
  EXPECT_EQ(objects[0]->Index(), 3);
  EXPECT_EQ(objects[4]->Index(), 2);
}

TEST(ObjectSourceEntries, BoundsGrowOneUnitSouthWestAndClampLongitudes) {
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
  EXPECT_EQ(source->Bounds(), TGeoRect(0, 0, 1, 1));

  TGeoDataObject* a = source->NewObject<TGeoDataObject>();
  a->Chains().Chain(0).Add(TGeoPoint(100, 200));
  a->Chains().Chain(0).Add(TGeoPoint(300, 700));
  TGeoDataObject* b = source->NewObject<TGeoDataObject>();
  b->SetCentroid(TGeoPoint(-972'000'000, -50));
  // a spans 100..300 x 200..700, b is the point (-972,000,000, -50).
  EXPECT_EQ(source->Bounds(), TGeoRect(-972'000'000, -51, 972'000'300, 751));
}

TEST(ObjectSourceBuilding, BuildsOnDemandFromTheLightRecord) {
  TCustomVoduz4 globe;
  auto* reader = globe.NewObjectSource<TLineReader>();
  reader->SetCount(3);
  // What a reader knows ahead (from its meta-data): the state word replaces the empty mark.
  reader->SetObjectState(1, osClosed);
  reader->SetObjectPresenterID(1, 7);
  reader->SetObjectValue(1, 2.5);
  reader->SetObjectTag(1, -9);

  TGlobeObject* built = reader->Objects(1);
  EXPECT_FALSE(reader->LastWasEmptyRecord);  // the record had been written to
  EXPECT_EQ(built->Title(), "Object 1");
  EXPECT_EQ(built->PresenterID(), 7);
  EXPECT_EQ(built->Value(), 2.5);
  EXPECT_EQ(built->Tag(), -9);
  EXPECT_TRUE(built->Closed());
  EXPECT_TRUE(built->HasState(osFullObject));
  EXPECT_EQ(built->Index(), 1);
  EXPECT_EQ(reader->Objects(1), built);
  EXPECT_EQ(reader->Builds, 1);

  reader->Objects(2);
  EXPECT_TRUE(reader->LastWasEmptyRecord);
  EXPECT_EQ(globe.CacheMemory(), reader->CacheMemory());
}

TEST(ObjectSourceBuilding, FlushKeepsBoundsAndSettingsInLightRecords) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  auto* reader = globe.NewObjectSource<TLineReader>();
  layer->SetObjectSource(reader);
  reader->SetCount(2);
  TGlobeObject* first = reader->Objects(0);
  const TGeoRect bounds = first->GetBounds();
  first->SetPresenterID(12);
  globe.LayerStore().SetSelectedObject(first);
  TGlobeObject* added = reader->Add(std::make_unique<TGeoDataObject>(reader));

  reader->Flush();
  EXPECT_EQ(globe.LayerStore().SelectedObject(), nullptr);
  TGlobeObjectData& record = reader->GetObjectData(0);
  EXPECT_EQ(record.AsObject(), nullptr);
  EXPECT_EQ(record.StoredBounds(), bounds);
  EXPECT_EQ(record.PresenterID(), 12);
  EXPECT_FALSE(record.HasState(osSelected));
  EXPECT_EQ(globe.CacheMemory(), 0);
  // An added object cannot be built again, so it stays.
  EXPECT_EQ(reader->PeekEntry(2), added);

  TGlobeObject* rebuilt = reader->Objects(0);
  EXPECT_EQ(rebuilt->PresenterID(), 12);
  EXPECT_EQ(reader->Builds, 2);
}

TEST(ObjectSourceLayers, TheSourceEndsWithItsLastLayer) {
  TCustomVoduz4 globe;
  int freed = 0;
  globe.OnObjectSourceFree = [&](TCustomVoduz4&, TGlobeObjectSource*) { ++freed; };
  TGlobeLayer* a = globe.LayerStore().NewLayer();
  TGlobeLayer* b = globe.LayerStore().NewLayer();
  TGlobeObjectSource* shared = a->ObjectSource();
  b->SetObjectSource(shared);
  EXPECT_EQ(shared->LayerCount(), 2);

  a->SetObjectSource(nullptr);
  EXPECT_EQ(freed, 0);
  EXPECT_EQ(globe.ObjectSourceCount(), 1);
  EXPECT_EQ(shared->Layers(0), b);
  EXPECT_EQ(shared->Layers(1), nullptr);

  globe.LayerStore().Delete(b);
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(globe.ObjectSourceCount(), 0);
}

TEST(ObjectSourceLayers, ALayerWithoutSourceGetsAnEmptyPlainOne) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  EXPECT_EQ(layer->ObjectSourceIfAny(), nullptr);
  EXPECT_EQ(layer->Name(), "TGlobeLayer");
  TGlobeObjectSource* source = layer->ObjectSource();
  EXPECT_EQ(source->ClassName(), "TGlobeObjectSource");
  EXPECT_EQ(source->Count(), 0);
  EXPECT_FALSE(source->Active());
  EXPECT_EQ(layer->ObjectSource(), source);
}

TEST(ObjectSourceLayers, LayersHearOfAddedChangedAndSelectedObjects) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  std::vector<TGlobeObject*> selectionEvents;
  globe.OnObjectSelectChange = [&](TCustomVoduz4&, TGlobeObject* o) { selectionEvents.push_back(o); };

  const uint64_t before = globe.RedrawRequests();
  TGeoDataObject* object = layer->ObjectSource()->NewObject<TGeoDataObject>();
  EXPECT_GT(globe.RedrawRequests(), before);

  object->SetSelected(true);
  ASSERT_EQ(selectionEvents.size(), 1u);
  EXPECT_EQ(selectionEvents[0], object);

  // In an animated layer a change only repaints the window; here it asks for a new render.
  const uint64_t beforeChange = globe.RedrawRequests();
  object->SetHidden(true);
  EXPECT_GT(globe.RedrawRequests(), beforeChange);
  EXPECT_TRUE(object->HasState(osModified));

  // Sources can make their layers appear and disappear.
  layer->ObjectSource()->NotifyLayers(snHideLayers, nullptr);
  EXPECT_FALSE(layer->Visible());
  layer->ObjectSource()->NotifyLayers(snShowLayers, nullptr);
  EXPECT_TRUE(layer->Visible());
}

}  // namespace
}  // namespace globe
