// Presenter stores: the ID rules of Add and Remove, copies, both saved forms of a whole store;
// layers whose hit tests go through their objects' presenters; and the presenters a MapInfo
// reader makes from the file's styles.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "globe/data/ClassRegistry.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/MIFReader.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/PresenterClasses.h"
#include "tests/globe_data/TempFile.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

class PresenterStoreTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPresenterClasses(); }
  std::unique_ptr<TPointPresenter> Point(int32_t id, const std::string& name = "") {
    auto p = std::make_unique<TPointPresenter>(&Globe, id);
    if (!name.empty()) p->SetName(name);
    return p;
  }
  static std::string Text(const TGlobePresenterStore& store) {
    TGXML_Document document;
    document.Root().AddElement("Presenters", store.SaveEnvironment());
    return document.SaveToText();
  }
  TCustomVoduz4 Globe;
  TGlobePresenterStore store{&Globe};
};

TEST_F(PresenterStoreTest, AddNumbersPresentersWithoutIDAndRefusesTakenIDs) {
  EXPECT_EQ(ThrownMessage<std::logic_error>([&] { TGlobePresenterStore orphan(nullptr); }),
            "TGlobePresenterStore.Create passed nil Parent");
  EXPECT_EQ(0, store.Add(nullptr));
  EXPECT_EQ(1, store.Add(Point(0, "first")));
  EXPECT_EQ(2, store.Add(Point(0, "second")));
  EXPECT_EQ(5, store.Add(Point(5, "five")));
  // A second presenter with ID 5 is not taken: the store keeps its own.
  EXPECT_EQ(5, store.Add(Point(5, "other five")));
  EXPECT_EQ(3, store.Count());
  EXPECT_EQ("five", store.ByID(5, false)->Name());
  // The next free ID follows the largest one, not the count; it is at least one and never overflows.
  EXPECT_EQ(6, store.Add(Point(0)));
  TGlobePresenterStore negative(&Globe);
  negative.Add(Point(-1));
  EXPECT_EQ(1, negative.Add(Point(0)));
  TGlobePresenterStore top(&Globe);
  for (int32_t id : {1, 2, std::numeric_limits<int32_t>::max(), 4}) top.Add(Point(id));
  EXPECT_EQ(3, top.Add(Point(0)));
  EXPECT_EQ(5, top.Add(Point(0)));
}

TEST_F(PresenterStoreTest, RemoveHandsThePresenterBack) {
  store.Add(Point(0, "a"));
  store.Add(Point(0, "b"));
  TGlobePresenter* a = store.Presenters(0);
  store.SetModified(false);
  ASSERT_EQ(a, store.Remove(a).get());
  EXPECT_EQ("b", store.Presenters(0)->Name());
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(nullptr, store.Remove(a));
  EXPECT_EQ(nullptr, store.Remove(nullptr));
  EXPECT_THROW(store.Presenters(1), std::out_of_range);
  EXPECT_THROW(store.Presenters(-1), std::out_of_range);
  store.Clear();
  EXPECT_EQ(0, store.Count());
}

TEST_F(PresenterStoreTest, AssignCopiesPresentersForItsOwnGlobe) {
  TCustomVoduz4 other;
  store.Add(Point(3, "dot"));
  store.Add(std::make_unique<TPolygonPresenter>(&Globe, 4));
  TGlobePresenterStore target(&other);
  target.Add(Point(9));
  target.Assign(store);
  ASSERT_EQ(2, target.Count());
  EXPECT_EQ(&other, target.Presenters(0)->Globe());
  EXPECT_EQ(Text(store), Text(target));
  EXPECT_NE(store.Presenters(0), target.Presenters(0));
  target.Assign(target);  // assigning a store to itself keeps it
  EXPECT_EQ(2, target.Count());
  target.Assign(*store.Presenters(1));  // one presenter: a copy is added (ID 4 is taken)
  EXPECT_EQ(2, target.Count());
  store.Presenters(1)->SetPresenterID(0);
  target.Assign(*store.Presenters(1));
  EXPECT_EQ(3, target.Count());
  EXPECT_EQ(5, target.Presenters(2)->PresenterID());
}

TEST_F(PresenterStoreTest, EnvironmentRoundTripKeepsClassesOrderAndIDs) {
  store.Add(Point(12, "Harbour"));
  store.Add(std::make_unique<TPolyPresenter>(&Globe, 3));
  store.Add(std::make_unique<TPolygonPresenter>(&Globe, -4));
  store.Add(std::make_unique<TPolylinePresenter>(&Globe, 0));
  TGlobePresenterStore loaded(&Globe);
  loaded.Add(Point(1, "dropped by the load"));
  loaded.LoadEnvironment(store.SaveEnvironment().get());
  EXPECT_FALSE(loaded.Modified());
  // The same text: the earlier presenter gone, classes, order and IDs (13 given on Add) kept.
  EXPECT_EQ(Text(store), Text(loaded));
  loaded.LoadEnvironment(nullptr);  // changes nothing
  EXPECT_EQ(4, loaded.Count());
  // Classes that are unknown or no presenter are refused.
  TGXML_Document document;
  document.LoadFromText("<Presenters><Presenter Class=\"TNoSuchPresenter\" PresenterID=\"3\" /></Presenters>");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.LoadEnvironment(document.Root().Element("Presenters")); }),
            "Class TNoSuchPresenter not found");
  RegisterGlobeClass<TGlobePresenterStore, TGlobePresenterStore, TCustomVoduz4*>("TNotAPresenter");
  document.LoadFromText("<Presenters><Presenter Class=\"TNotAPresenter\" /></Presenters>");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.LoadEnvironment(document.Root().Element("Presenters")); }),
            "Class TNotAPresenter does not inherit from TGlobePresenter");
}

TEST_F(PresenterStoreTest, StreamFormNamesEveryClass) {
  store.Add(Point(2, "Port"));
  store.Add(std::make_unique<TPolylinePresenter>(&Globe, 8));
  TGlobeMemoryStream stream;
  TGlobeStreamWriter writer(stream);
  store.WriteToStream(writer);
  const std::string& bytes = stream.Bytes();
  // Integer count 2, then the first class name as a ShortString.
  EXPECT_EQ(std::string("\x02\x00\x00\x00\x0FTPointPresenter", 20), bytes.substr(0, 20));
  stream.Seek(0);
  TGlobeStreamReader reader(stream);
  TGlobePresenterStore loaded(&Globe);
  loaded.ReadFromStream(reader);
  EXPECT_EQ(stream.Size(), stream.Position());
  EXPECT_EQ(Text(store), Text(loaded));
  // A truncated record ends with an error, never a read past the data.
  TGlobeMemoryStream truncated(bytes.substr(0, bytes.size() - 3));
  TGlobeStreamReader truncatedReader(truncated);
  EXPECT_THROW(loaded.ReadFromStream(truncatedReader), EGlobeException);
}

// ---- layers: hit tests through the presenters ----

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

struct LayerPresenters : PresenterStoreTest {
  void SetUp() override {
    RegisterPresenterClass<TWidePresenter>("TWidePresenter");
    point->SetCentroid(TGeoPoint(0, 0));
  }
  TGlobeLayer* layer = Globe.LayerStore().NewLayer();
  TGeoDataObject* point = layer->ObjectSource()->NewObject<TGeoDataObject>();
  const TGeoPoint nearby{GlobeUnitsPerDegree / 2, 0};
};

TEST_F(LayerPresenters, LayerSourceOrGlobalPresenterDecidesTheHit) {
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), nullptr);  // no presenter: the point itself only
  point->SetPresenterID(layer->Presenters()->Add(std::make_unique<TWidePresenter>(&Globe, 0)));
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), point);
  layer->Presenters()->Presenters(0)->SetHidden(true);
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), nullptr);
  EXPECT_EQ(layer->ObjectAtPoint(TGeoPoint(0, 0), 0), nullptr);  // not even at its centre
  layer->ObjectSource()->Presenters()->Add(std::make_unique<TWidePresenter>(&Globe, 4));
  point->SetPresenterID(4);
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), point);
  Globe.LayerStore().GlobalPresenters()->Add(std::make_unique<TWidePresenter>(&Globe, -7));
  point->SetPresenterID(-7);
  EXPECT_EQ(layer->ObjectAtPoint(nearby, 0), point);
  EXPECT_EQ(GlobalPresenterStore(Globe), Globe.LayerStore().GlobalPresenters());
}

TEST_F(LayerPresenters, ACopiedLayerSharesItsSourceAndCopiesPresenters) {
  layer->SetName("Zones");
  layer->Presenters()->Add(std::make_unique<TWidePresenter>(&Globe, 3));
  Globe.LayerStore().Assign(*layer);
  TGlobeLayer* copy = Globe.LayerStore().Layers(1);
  EXPECT_EQ(copy->Name(), "Zones");
  EXPECT_EQ(copy->ObjectSourceIfAny(), layer->ObjectSourceIfAny());
  EXPECT_NE(copy->Presenters()->Presenters(0), layer->Presenters()->Presenters(0));
  // The shared source lives on while one of its layers remains.
  Globe.LayerStore().Delete(layer);
  EXPECT_EQ(copy->ObjectSource()->Count(), 1);
}

// ---- presenters made from a MapInfo file's styles ----

struct MIFPresenters : ::testing::Test {
  static void SetUpTestSuite() { RegisterPresenterClasses(); }
  MIFPresenters() { Globe.SetSaveMetaDataLocation(smdDiscard); }
  void Open(const std::string& body) {
    reader->SetFileName(dir.Write("t.mif", "Version 300\nCoordSys Earth Projection 1, 0\nData\n" + body));
    reader->SetActive(true);
  }
  template <class P>
  P& PresenterOf(int index) {
    return dynamic_cast<P&>(*reader->Presenters()->ByID(reader->Objects(index)->PresenterID(), false));
  }
  testing::TempDir dir;  // outlives the reader of its file
  TCustomVoduz4 Globe;
  TGlobeMIFReader* reader = Globe.NewObjectSource<TGlobeMIFReader>();
};

TEST_F(MIFPresenters, StylesBecomePresentersSharedWhenEqual) {
  Open("Region 1\n 3\n0 0\n1 0\n0 0\n  Pen (2,2,0)\n  Brush (2,16711680)\n"
       "Region 1\n 3\n5 5\n6 5\n5 5\n  Pen (2,2,0)\n  Brush (2,16711680)\n"
       "Region 1\n 3\n5 5\n6 5\n5 5\n  Pen (2,2,0)\n  Brush (1,16711680)\n"
       "Pline 2\n0 0\n1 1\n  Pen (3,5,255)\n"
       "Text\n \"Cape\"\n 10 10 11 11\n  Font (\"Times\",0,9,65280)\n");
  ASSERT_EQ(reader->Count(), 5);
  EXPECT_EQ(reader->Presenters()->Count(), 4);
  auto& polygon = PresenterOf<TPolygonPresenter>(0);
  EXPECT_EQ(polygon.PolyBrush().BrushColor(), 255u);  // red in the platform order
  EXPECT_EQ(polygon.PolyBrush().BrushStyle(), bsSolid);
  EXPECT_EQ(polygon.PolyPen().PenWidth(), 2);
  EXPECT_EQ(&PresenterOf<TPolygonPresenter>(1), &polygon);
  EXPECT_EQ(PresenterOf<TPolygonPresenter>(2).PolyBrush().BrushStyle(), bsClear);
  auto& line = PresenterOf<TPolylinePresenter>(3);
  EXPECT_EQ(line.PolyPen().PenStyle(), psDash);
  EXPECT_EQ(line.PolyPen().PenColor(), 0xFF0000u);
  auto& label = PresenterOf<TPointPresenter>(4);
  EXPECT_EQ(label.PointFont().FontName(), "Times");
  EXPECT_EQ(label.PointFont().FontSize(), 9);
  EXPECT_EQ(label.PointFont().FontUnit(), TGlobeUnitTypes::Meter);
  EXPECT_EQ(label.TitleFont().FontName(), "Arial");
  // Rebuilt after a flush, the objects find the same presenters and add none.
  reader->Flush();
  EXPECT_EQ(&PresenterOf<TPolylinePresenter>(3), &line);
  EXPECT_EQ(reader->Presenters()->Count(), 4);
}

}  // namespace
}  // namespace globe
