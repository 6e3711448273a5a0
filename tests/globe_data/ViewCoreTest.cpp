// The window-free view core: data directory and file names, notifications, the mapping read of
// file readers, layers and their object sources (entries, building on
// demand, removal, flushing, the object cache), selection across layers and hit tests.

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "GlobeDataFixtures.h"
#include "Points.h"
#include "TempFile.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/MapFileReaders.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using Names = std::vector<std::string>;
using corvalis::testing::ThrownMessage;
using testing::Deg;
using testing::DegPoint;
using testing::TLineReader;
using testing::TempDir;

struct ObjectSourceTest : ::testing::Test {
  int freed = 0;  // before the view, which reports until its end
  std::vector<TGlobeObject*> selectionEvents;
  TCustomVoduz4 globe;
  TGlobeObjectSource* source = globe.NewObjectSource<TGlobeObjectSource>();
};

TEST_F(ObjectSourceTest, CountGrowsCapacityAndFillsEmptyRecordsThatAPlainSourceCannotBuild) {
  source->SetCount(256);
  EXPECT_EQ(std::tuple(source->Capacity(), source->GetObjectData(255).State()), std::tuple(511, osEmptyRecord));
  source->SetCount(10);
  EXPECT_EQ(source->Capacity(), 511);  // shrinking the count keeps the room
  source->SetCapacity(4);
  EXPECT_EQ(source->Count(), 4);
  EXPECT_EQ(ThrownMessage<std::logic_error>([&] { source->GetObjectData(4); }), "GetObjectData: Invalid Index");
  EXPECT_THROW(source->SetObjectData(-1, nullptr), std::logic_error);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { source->Objects(0); }), "TGlobeReader returned nil object");
  EXPECT_FALSE(source->Building());
}

TEST_F(ObjectSourceTest, RemovingAndMovingRenumberTheObjects) {
  TGeoDataObject* objects[5];
  for (auto& object : objects) object = source->NewObject<TGeoDataObject>();
  std::unique_ptr<TGlobeObject> removed = source->Remove(objects[2]);
  ASSERT_EQ(removed.get(), objects[2]);
  EXPECT_EQ(std::tuple(source->Count(), objects[3]->Index(), source->Objects(2)), std::tuple(4, 2, objects[3]));
  EXPECT_EQ(std::tuple(removed->Index(), removed->State(), removed->ObjectSource()),
            std::tuple(-1, osRemoved, nullptr));
  EXPECT_EQ(source->Remove(removed.get()), nullptr);  // taking it out twice finds nothing
  source->Move(0, 3);
  EXPECT_EQ(source->Objects(3), objects[0]);
  EXPECT_EQ(std::tuple(objects[0]->Index(), objects[4]->Index()), std::tuple(3, 2));
}

TEST_F(ObjectSourceTest, BoundsGrowOneUnitSouthWestAndClampLongitudes) {
  EXPECT_EQ(source->Bounds(), TGeoRect(0, 0, 1, 1));
  TGeoDataObject* a = source->NewObject<TGeoDataObject>();
  a->Chains().Chain(0).Add(TGeoPoint(100, 200));
  a->Chains().Chain(0).Add(TGeoPoint(300, 700));
  source->NewObject<TGeoDataObject>()->SetCentroid(TGeoPoint(-972'000'000, -50));
  EXPECT_EQ(source->Bounds(), TGeoRect(-972'000'000, -51, 972'000'300, 751));
}

TEST_F(ObjectSourceTest, BuildsOnDemandFromTheLightRecordAndFlushKeepsItsSettings) {
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  auto* reader = globe.NewObjectSource<TLineReader>();
  layer->SetObjectSource(reader);
  reader->SetCount(3);
  // What a reader knows ahead (from its meta-data): the state word replaces the empty mark.
  reader->SetObjectState(1, osClosed);
  reader->SetObjectPresenterID(1, 7);
  reader->SetObjectValue(1, 2.5);
  reader->SetObjectTag(1, -9);
  TGlobeObject* built = reader->Objects(1);
  EXPECT_FALSE(reader->LastWasEmptyRecord);  // the record had been written to
  EXPECT_EQ(std::tuple(built->Title(), built->PresenterID(), built->Value(), built->Tag(), built->Closed()),
            std::tuple("Object 1", 7, 2.5, -9, true));
  EXPECT_TRUE(built->HasState(osFullObject));
  EXPECT_EQ(std::tuple(reader->Objects(1), reader->Builds), std::tuple(built, 1));
  reader->Objects(2);
  EXPECT_EQ(std::tuple(reader->LastWasEmptyRecord, globe.CacheMemory()), std::tuple(true, reader->CacheMemory()));
  const TGeoRect bounds = built->GetBounds();
  built->SetPresenterID(12);
  globe.LayerStore().SetSelectedObject(built);
  TGlobeObject* added = reader->Add(std::make_unique<TGeoDataObject>(reader));
  reader->Flush();
  EXPECT_EQ(std::tuple(globe.LayerStore().SelectedObject(), globe.CacheMemory()), std::tuple(nullptr, 0));
  TGlobeObjectData& record = reader->GetObjectData(1);
  EXPECT_EQ(std::tuple(record.AsObject(), record.StoredBounds(), record.PresenterID(), record.HasState(osSelected)),
            std::tuple(nullptr, bounds, 12, false));
  EXPECT_EQ(reader->PeekEntry(3), added);  // an added object cannot be built again, so it stays
  EXPECT_EQ((std::tuple{reader->Objects(1)->PresenterID(), reader->Builds}), std::tuple(12, 3));
}

TEST_F(ObjectSourceTest, TheSourceEndsWithItsLastLayerAndALayerWithoutOneGetsAnEmptyPlainOne) {
  globe.OnObjectSourceFree = [&](TCustomVoduz4&, TGlobeObjectSource*) { ++freed; };
  TGlobeLayer* a = globe.LayerStore().NewLayer();
  TGlobeLayer* b = globe.LayerStore().NewLayer();
  EXPECT_EQ(a->ObjectSourceIfAny(), nullptr);
  TGlobeObjectSource* shared = a->ObjectSource();
  EXPECT_EQ(std::tuple(shared->ClassName(), shared->Count(), shared->Active()),
            std::tuple("TGlobeObjectSource", 0, false));
  b->SetObjectSource(shared);
  EXPECT_EQ(shared->LayerCount(), 2);
  a->SetObjectSource(nullptr);
  EXPECT_EQ(std::tuple(freed, globe.ObjectSourceCount(), shared->Layers(0), shared->Layers(1)),
            std::tuple(0, 2, b, nullptr));
  globe.LayerStore().Delete(b);
  EXPECT_EQ(std::tuple(freed, globe.ObjectSourceCount()), std::tuple(1, 1));
}

TEST_F(ObjectSourceTest, LayersHearOfAddedChangedAndSelectedObjects) {
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  globe.OnObjectSelectChange = [&](TCustomVoduz4&, TGlobeObject* o) { selectionEvents.push_back(o); };
  const uint64_t before = globe.RedrawRequests();
  TGeoDataObject* object = layer->ObjectSource()->NewObject<TGeoDataObject>();
  EXPECT_GT(globe.RedrawRequests(), before);
  object->SetSelected(true);
  EXPECT_EQ(selectionEvents, std::vector<TGlobeObject*>{object});
  // In an animated layer a change only repaints the window; here it asks for a new render.
  const uint64_t beforeChange = globe.RedrawRequests();
  object->SetHidden(true);
  EXPECT_TRUE(globe.RedrawRequests() > beforeChange && object->HasState(osModified));
  layer->ObjectSource()->NotifyLayers(snHideLayers, nullptr);  // sources can hide and show their layers
  const bool hidden = !layer->Visible();
  layer->ObjectSource()->NotifyLayers(snShowLayers, nullptr);
  EXPECT_TRUE(hidden && layer->Visible());
}

// The object cache: built objects count against CacheCapacity; passing it releases the oldest
// ones until a quarter of the capacity is left.
struct CacheFixture : ::testing::Test {
  TCustomVoduz4 globe;
  TLineReader* reader = globe.NewObjectSource<TLineReader>();
  int reductions = 0;
  void SetUp() override {
    globe.SetCacheCapacity(4);  // 4096 bytes
    globe.OnReduceCacheMemory = [this](TCustomVoduz4&) { ++reductions; };
    globe.LayerStore().NewLayer()->SetObjectSource(reader);
    reader->SetCount(200);
  }
  std::set<int> BuiltIndices() const {
    std::set<int> built;
    for (int i = 0; i < reader->Count(); ++i)
      if (const TGlobeObjectData* entry = reader->PeekEntry(i); entry && entry->AsObject()) built.insert(i);
    return built;
  }
};

TEST_F(CacheFixture, NoLimitWithoutCapacityElseStaysUnderItAndShrinksToAQuarterOldestFirst) {
  ASSERT_LT(reader->Objects(0)->InstanceMemory() * 4, 1024) << "objects must be small against a quarter";
  globe.SetCacheCapacity(0);
  for (int i = 0; i < 50; ++i) reader->Objects(i);
  EXPECT_EQ(std::tuple(reductions, BuiltIndices().size()), std::tuple(0, 50u));
  globe.SetCacheCapacity(4);
  globe.RecalculateCacheMemory();
  EXPECT_EQ(reductions, 1);
  for (int i = 50; i < 200; ++i) {
    const int before = reductions;
    reader->Objects(i);
    EXPECT_LE(globe.CacheMemory(), 4096);
    EXPECT_EQ(globe.CacheMemory(), reader->CacheMemory());
    if (reductions == before) continue;
    // Only the newest objects stay: a run ending at the one just built, below a quarter.
    EXPECT_LT(globe.CacheMemory(), 1024);
    const std::set<int> built = BuiltIndices();
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(std::tuple(*built.rbegin(), int(built.size())), std::tuple(i, i - *built.begin() + 1));
  }
  EXPECT_GT(reductions, 5);
}

TEST_F(CacheFixture, AnObjectUsedAgainCountsAsNewAndTheSelectedOneIsNeverReleased) {
  int i = 0;
  while ((i + 2) * reader->Objects(0)->InstanceMemory() <= 4096) reader->Objects(++i);  // until the next build passes
  ASSERT_EQ(reductions, 0);
  reader->Objects(0);  // used again: now the youngest of the old ones
  reader->Objects(++i);
  ASSERT_EQ(reductions, 1);
  const std::set<int> built = BuiltIndices();
  EXPECT_EQ(std::tuple(built.count(0), built.count(1), built.count(i)), std::tuple(1u, 0u, 1u));
  TGlobeObject* selected = reader->Objects(1);
  globe.LayerStore().SetSelectedObject(selected);
  for (int j = 2; j < 100; ++j) reader->Objects(j);
  EXPECT_GT(reductions, 1);
  EXPECT_EQ(reader->PeekEntry(1), selected);
  EXPECT_EQ(globe.LayerStore().SelectedObject(), selected);
}

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
  EXPECT_EQ(std::tuple(store.LayerByName("subs0"), store.IndexOfName("SUBS0")), std::tuple(subs, 1));
  EXPECT_EQ(std::tuple(store.LayerByName("subs1"), store.IndexOfName("Subs")), std::tuple(nullptr, -1));
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.Layers(3); }), "TVoduz4.GetLayer: Bad layer index 3");
  EXPECT_THROW(store.Layers(-1), EGlobeException);
  c->SetIndex(0);
  EXPECT_EQ(std::tuple(store.Layers(0), subs->Index()), std::tuple(c, 2));
  EXPECT_EQ((std::tuple{store.Remove(a)->Index(), store.Count()}), std::tuple(-1, 2));
  store.Delete(c);
  EXPECT_EQ(events, (std::vector<std::string>{"create TGlobeLayer", "create TGlobeLayer", "create TGlobeLayer",
                                              "free Bases", "free C"}));
}

TEST(LayerStore, ZoomLimitsFollowTheirUnit) {
  TCustomVoduz4 globe;
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  layer->SetZoomMin(60);  // nautical miles: one degree
  layer->SetModified(false);
  layer->SetZoomUnits(TGlobeUnitTypes::Kilometer);
  const int32_t kilometres = layer->ZoomMin();  // 111.12 km
  layer->SetZoomUnits(TGlobeUnitTypes::Degree);
  EXPECT_EQ(std::tuple(kilometres, layer->ZoomMin(), layer->Modified()), std::tuple(111, 1, true));
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
  EXPECT_EQ(std::tuple(a->Selected(), selectionEvents), std::tuple(true, 1));
  store.SetSelectedObject(b);
  EXPECT_EQ(std::tuple(a->Selected(), store.SelectedObject(), store.SelectedObjects(1)), std::tuple(false, b, nullptr));
  a->SetSelected(true);  // several selected objects are listed layer by layer
  EXPECT_EQ(std::tuple(store.SelectedObjects(0), store.SelectedObjects(1)), std::tuple(a, b));
  store.SetSelectedObject(nullptr);
  EXPECT_EQ(std::tuple(a->Selected(), b->Selected(), store.SelectedObjects(0)), std::tuple(false, false, nullptr));
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
  auto hit = [&] { return store.ObjectAtLL(DegPoint(1, 1), 0); };
  EXPECT_EQ(hit(), above);  // the top layer answers first
  EXPECT_EQ(store.ObjectAtLL(DegPoint(5, 5), 0), nullptr);
  above->SetHidden(true);
  EXPECT_EQ(std::tuple(above->HitTest(DegPoint(1, 1), 0), hit()), std::tuple(0, below));
  above->SetHidden(false);
  upper->SetEnabled(false);
  EXPECT_EQ(hit(), below);
  upper->SetEnabled(true);
  upper->SetVisible(false);
  EXPECT_EQ(hit(), below);
  lower->SetVisible(false);
  EXPECT_EQ(hit(), nullptr);
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
  EXPECT_EQ(std::tuple(own->Globe(), own->ClassName(), own->Active()), std::tuple(second.get(), "TLineReader", true));
  second.reset();  // either view can go first
  EXPECT_EQ(original->ObjectSource()->LayerCount(), 1);
}

TEST(ViewFiles, DataDirectoryIsTrimmedAndEndsWithASeparator) {
  TempDir dir;
  TCustomVoduz4 globe;
  Names missing;
  globe.OnDirectoryNotFound = [&](TCustomVoduz4&, const std::string& d) { missing.push_back(d); };
  for (const std::string& name : {"  " + dir.Path.string() + " ", dir.Path.string() + "/"}) {
    globe.SetDataDirectory(name);
    EXPECT_EQ(globe.DataDirectory(), dir.Path.string() + "/");
  }
  globe.SetDataDirectory(dir.File("nothing"));
  globe.SetDataDirectory("");
  EXPECT_EQ(std::tuple(globe.DataDirectory(), missing), std::tuple("", Names{dir.File("nothing") + "/"}));
}

TEST(ViewFiles, NamesResolveAgainstTheDataDirectoryOrAsTheApplicationOffers) {
  TempDir dir;
  const std::string coast = dir.Write("coast.dat", "x");
  std::filesystem::create_directories(dir.Path / "maps");
  dir.Write("maps/deep.dat", "x");
  TCustomVoduz4 globe;
  globe.SetDataDirectory(dir.Path.string());
  for (const std::string& name : {coast, std::string("coast.dat"), std::string("C:\\Game\\Data\\coast.dat")})
    EXPECT_EQ(globe.ResolveFileName(name), coast)
        << name;  // the name itself, in the data directory, its file name there
  EXPECT_EQ(globe.ResolveFileName("maps\\deep.dat"), dir.Path.string() + "/maps/deep.dat");
  Names asked;
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& name, bool& tryAgain) {
    asked.push_back(name);
    tryAgain = name == "old.dat";
    if (tryAgain) name = coast;
  };
  EXPECT_EQ(globe.ResolveFileName("old.dat"), coast);
  EXPECT_EQ(globe.ResolveFileName("other.dat") + globe.ResolveFileName(" "), "");  // no name: nothing to ask about
  EXPECT_EQ(asked, (Names{"old.dat", "other.dat"}));
  // A handler that never gives up cannot hold the view.
  globe.OnFileNotFound = [&](TCustomVoduz4&, std::string& name, bool& again) {
    asked.push_back(name = "gone.dat");
    again = true;
  };
  EXPECT_EQ(globe.ResolveFileName("x.dat"), "");
  EXPECT_GT(asked.size(), 3u);
}

TEST(ViewFiles, MapFileReadersAreFoundByExtensionWithoutRegardToCase) {
  TCustomVoduz4 globe;
  for (const auto& [name, readerClass] : std::vector<std::pair<std::string, std::string>>{
           {"Data/Land.lyr", "TGlobeLYRReader"}, {"LAND.SHP", "TGlobeSHPReader"}, {"x.Mif", "TGlobeMIFReader"},
           {"notes.txt", ""}, {"lyr", ""}, {"shp.", ""}})
    EXPECT_EQ(MapFileReaderClass(name), readerClass) << name;
  EXPECT_EQ(NewMapFileReader(globe, "x.MIF").ClassName(), "TGlobeMIFReader");
  EXPECT_EQ(globe.ObjectSourceCount(), 1);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { NewMapFileReader(globe, "notes.txt"); }), UnknownMapFileMessage());
  // A new format is one registration; the message for other files lists it.
  RegisterMapFileReader<testing::TFileCheckingReader>("tst", "TFileCheckingReader");
  EXPECT_EQ(NewMapFileReader(globe, "a.TST").ClassName(), "TFileCheckingReader");
  EXPECT_EQ(UnknownMapFileMessage(), "not a LYR, SHP, MIF or TST file");
}

TEST(ViewFiles, AnUnreadableTextureLeavesNoName) {
  TempDir dir;
  TCustomVoduz4 globe;
  for (const std::string& name : {dir.Write("sea.bmp", "not a bitmap"), dir.File("missing.bmp")}) {
    globe.SetSurfaceTextureName(name);
    EXPECT_EQ(std::tuple(globe.SurfaceTextureName(), globe.SurfaceTexture().HasTexture()), std::tuple("", false));
  }
}

TEST(ViewNotifications, SourcesAndRedrawsAreReported) {
  TCustomVoduz4 globe;
  Names events;
  globe.OnObjectSourceCreate = [&](TCustomVoduz4&, TGlobeObjectSource*) { events.push_back("create"); };
  globe.OnObjectSourceActiveChange = [&](TCustomVoduz4&, TGlobeObjectSource* s) {
    events.push_back(s->Active() ? "open" : "close");
  };
  globe.OnObjectSourceFree = [&](TCustomVoduz4&, TGlobeObjectSource*) { events.push_back("free"); };
  TGlobeLayer* layer = globe.LayerStore().NewLayer();
  globe.RedrawDone();
  const uint64_t requests = globe.RedrawRequests();
  layer->ObjectSource()->SetActive(true);
  layer->ObjectSource()->SetActive(true);  // no change, no report
  layer->ObjectSource()->SetActive(false);
  EXPECT_TRUE(globe.RedrawNeeded() && globe.RedrawRequests() > requests);
  globe.ClearEnvironment();
  EXPECT_EQ(events, (Names{"create", "open", "close", "free"}));
  EXPECT_EQ((std::tuple{globe.NewObjectID(), globe.NewObjectID()}), std::tuple(1, 2));  // a braced list calls in order
}

// Notes each report of the layers, sources and objects, then lets the core act on it.
class TReportingCore : public TCustomVoduz4 {
 public:
  Names Reports;

 protected:
  void Note(const char* report) { Reports.push_back(report); }
  void SceneChanged() override { Note("scene"), TCustomVoduz4::SceneChanged(); }
  void LayerCreated(TGlobeLayer& layer) override { Note("layer created"), TCustomVoduz4::LayerCreated(layer); }
  void LayerFreed(TGlobeLayer& layer) override { Note("layer freed"), TCustomVoduz4::LayerFreed(layer); }
  void ObjectSourceUnused(TGlobeObjectSource& s) override { Note("source unused"), TCustomVoduz4::ObjectSourceUnused(s); }
  void ObjectSourceFreed(TGlobeObjectSource& s) override { Note("source freed"), TCustomVoduz4::ObjectSourceFreed(s); }
  void ObjectCreated(TGlobeObject& object) override { Note("object created"), TCustomVoduz4::ObjectCreated(object); }
  void ObjectFreed(TGlobeObject& object) override { Note("object freed"), TCustomVoduz4::ObjectFreed(object); }
  void SelectionChanged(TGlobeObject* object) override { Note("selection"), TCustomVoduz4::SelectionChanged(object); }
  void CacheMemoryAdded(int64_t bytes) override { Note("cache added"), TCustomVoduz4::CacheMemoryAdded(bytes); }
  void CacheMemoryReleased(int64_t bytes) override { Note("cache released"), TCustomVoduz4::CacheMemoryReleased(bytes); }
};

TEST(ViewNotifications, DataReportsReachTheListenerInTheOrderTheEventsAreRaised) {
  TReportingCore core;
  Names events;
  core.OnLayerFree = [&](TCustomVoduz4&, TGlobeLayer*) { events.push_back("layer freed"); };
  core.OnObjectSourceFree = [&](TCustomVoduz4&, TGlobeObjectSource*) { events.push_back("source freed"); };
  core.OnObjectFree = [&](TCustomVoduz4&, TGlobeObject*) { events.push_back("object freed"); };
  TGlobeLayer* layer = core.LayerStore().NewLayer();
  auto* reader = core.NewObjectSource<TLineReader>();
  layer->SetObjectSource(reader);
  reader->SetCount(1);
  reader->Objects(0)->SetSelected(true);
  EXPECT_GT(core.CacheMemory(), 0);
  core.LayerStore().Delete(layer);
  // A new layer resets itself before the store reports it; a layer's end reports before it leaves
  // its source, the source's end before its objects' (whose selection no layer hears any more).
  EXPECT_EQ(core.Reports, (Names{"scene", "layer created", "scene", "scene", "object created", "cache added",
                                 "selection", "scene", "layer freed", "source unused", "source freed",
                                 "cache released", "object freed", "scene"}));
  EXPECT_EQ(events, (Names{"layer freed", "source freed", "object freed"}));
  EXPECT_EQ(std::tuple(core.CacheMemory(), core.ObjectSourceCount()), std::tuple(0, 0));
}

// A reader whose every byte is one object.
class TByteReader : public TGlobeFileReader {
 public:
  using TGlobeFileReader::TGlobeFileReader;
  using TGlobeFileReader::MapStream;

 protected:
  bool ReadObject(TGlobeStream& stream, int32_t) override {
    if (stream.Remaining() == 0) return false;
    char byte;
    stream.Read(&byte, 1);
    return true;
  }
  std::unique_ptr<TGlobeObject> GetObject(int32_t, bool) override { return std::make_unique<TGeoDataObject>(this); }
};

TEST(ViewProgress, TheMappingReadReportsStartPercentagesAndEndOrStopsAtAnAbort) {
  TCustomVoduz4 globe;
  std::vector<std::pair<int, std::string>> reports;
  bool abort = false;
  globe.OnProgress = [&](TCustomVoduz4&, TProgressMessage kind, const std::string& text, bool& stop) {
    reports.emplace_back(kind, text);
    stop = abort && kind == pmProgress;
  };
  TGlobeMemoryStream stream(std::string(600, 'x'));
  stream.Seek(100);  // the read starts from the beginning whatever the position
  auto* reader = globe.NewObjectSource<TByteReader>();
  EXPECT_EQ((std::tuple{reader->MapStream(stream), reader->Count()}), std::tuple(true, 600));
  // 256 and 512 of 600 bytes: 42.7 and 85.3 percent.
  EXPECT_EQ(reports, (std::vector<std::pair<int, std::string>>{
                         {pmStart, "Mapping"}, {pmProgress, "43"}, {pmProgress, "85"}, {pmEnd, "Finished"}}));
  abort = true;
  auto* aborted = globe.NewObjectSource<TByteReader>();
  EXPECT_EQ((std::tuple{aborted->MapStream(stream), aborted->Count()}), std::tuple(true, 256));
}

}  // namespace
}  // namespace globe
