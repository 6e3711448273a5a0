// Presenter store: the ID rules of Add, lookup with the global presenters, copies, and both saved
// forms of a whole store.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "globe/data/CustomVoduz4.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobePresenterStore.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/PointPresenter.h"
#include "globe/view/PolyPresenter.h"
#include "globe/view/PresenterClasses.h"
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
};

TEST_F(PresenterStoreTest, NullGlobeIsAProgrammingError) {
  EXPECT_EQ(ThrownMessage<std::logic_error>([&] { TGlobePresenterStore store(nullptr); }),
            "TGlobePresenterStore.Create passed nil Parent");
}

TEST_F(PresenterStoreTest, AddNumbersPresentersWithoutIDAndRefusesTakenIDs) {
  TGlobePresenterStore store(&Globe);
  EXPECT_EQ(0, store.Add(nullptr));
  EXPECT_EQ(1, store.Add(Point(0, "first")));
  EXPECT_EQ(2, store.Add(Point(0, "second")));
  EXPECT_EQ(5, store.Add(Point(5, "five")));
  EXPECT_EQ(3, store.Count());
  EXPECT_EQ(2, store.Presenters(1)->PresenterID());

  // A second presenter with ID 5 is not taken: the store keeps its own.
  EXPECT_EQ(5, store.Add(Point(5, "other five")));
  EXPECT_EQ(3, store.Count());
  EXPECT_EQ("five", store.ByID(5, false)->Name());

  // The next free ID follows the largest one, not the count.
  EXPECT_EQ(6, store.Add(Point(0)));
}

TEST_F(PresenterStoreTest, NewIDsAreAtLeastOneAndNeverOverflow) {
  TGlobePresenterStore negative(&Globe);
  negative.Add(Point(-1));
  negative.Add(Point(-2));
  EXPECT_EQ(1, negative.Add(Point(0)));

  TGlobePresenterStore top(&Globe);
  top.Add(Point(1));
  top.Add(Point(2));
  top.Add(Point(std::numeric_limits<int32_t>::max()));
  top.Add(Point(4));
  EXPECT_EQ(3, top.Add(Point(0)));
  EXPECT_EQ(5, top.Add(Point(0)));
}

TEST_F(PresenterStoreTest, RemoveHandsThePresenterBack) {
  TGlobePresenterStore store(&Globe);
  store.Add(Point(0, "a"));
  store.Add(Point(0, "b"));
  TGlobePresenter* a = store.Presenters(0);
  store.SetModified(false);

  std::unique_ptr<TGlobePresenter> removed = store.Remove(a);
  ASSERT_EQ(a, removed.get());
  EXPECT_EQ(1, store.Count());
  EXPECT_EQ("b", store.Presenters(0)->Name());
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(nullptr, store.Remove(a));
  EXPECT_EQ(nullptr, store.Remove(nullptr));
  EXPECT_THROW(store.Presenters(1), std::out_of_range);
  EXPECT_THROW(store.Presenters(-1), std::out_of_range);

  store.Clear();
  EXPECT_EQ(0, store.Count());
}

TEST_F(PresenterStoreTest, ByIDFallsBackToTheGlobalPresenters) {
  TGlobePresenterStore store(&Globe);
  store.Add(Point(7, "local"));
  TGlobePresenterStore& globals = *Globe.LayerStore().GlobalPresenters();

  EXPECT_EQ("local", store.ByID(7, true)->Name());
  EXPECT_EQ(nullptr, store.ByID(-1, false));
  TGlobePresenter* point = store.ByID(-1, true);
  ASSERT_NE(nullptr, point);
  EXPECT_EQ(globals.ByID(-1, false), point);
  EXPECT_NE(nullptr, dynamic_cast<TPointPresenter*>(point));
  EXPECT_NE(nullptr, dynamic_cast<TPolyPresenter*>(store.ByID(-2, true)));
  EXPECT_EQ(nullptr, store.ByID(99, true));
  // A local presenter hides a global one of the same ID.
  store.Add(Point(-1, "mine"));
  EXPECT_EQ("mine", store.ByID(-1, true)->Name());
}

TEST_F(PresenterStoreTest, AssignCopiesPresentersForItsOwnGlobe) {
  TCustomVoduz4 other;
  TGlobePresenterStore source(&Globe);
  source.Add(Point(3, "dot"));
  source.Add(std::make_unique<TPolygonPresenter>(&Globe, 4));

  TGlobePresenterStore target(&other);
  target.Add(Point(9));
  target.Assign(source);
  ASSERT_EQ(2, target.Count());
  EXPECT_EQ(&other, target.Presenters(0)->Globe());
  EXPECT_EQ("dot", target.Presenters(0)->Name());
  EXPECT_EQ(3, target.Presenters(0)->PresenterID());
  EXPECT_NE(nullptr, dynamic_cast<TPolygonPresenter*>(target.Presenters(1)));
  EXPECT_NE(source.Presenters(0), target.Presenters(0));

  target.Presenters(0)->SetName("changed");
  EXPECT_EQ("dot", source.Presenters(0)->Name());

  target.Assign(target);  // assigning a store to itself keeps it
  EXPECT_EQ(2, target.Count());

  target.Assign(*source.Presenters(1));  // one presenter: a copy is added (ID 4 is taken)
  EXPECT_EQ(2, target.Count());
  source.Presenters(1)->SetPresenterID(0);
  target.Assign(*source.Presenters(1));
  EXPECT_EQ(3, target.Count());
  EXPECT_EQ(5, target.Presenters(2)->PresenterID());
}

TEST_F(PresenterStoreTest, EnvironmentRoundTripKeepsClassesOrderAndIDs) {
  TGlobePresenterStore store(&Globe);
  store.Add(Point(12, "Harbour"));
  store.Add(std::make_unique<TPolyPresenter>(&Globe, 3));
  store.Add(std::make_unique<TPolygonPresenter>(&Globe, -4));
  store.Add(std::make_unique<TPolylinePresenter>(&Globe, 0));
  const std::string saved = Text(store);

  TGlobePresenterStore loaded(&Globe);
  loaded.Add(Point(1, "dropped by the load"));
  loaded.LoadEnvironment(store.SaveEnvironment().get());
  EXPECT_FALSE(loaded.Modified());
  // The same text: the earlier presenter gone, classes, order and IDs (13 given on Add) kept.
  EXPECT_EQ(saved, Text(loaded));

  // A null element changes nothing.
  loaded.LoadEnvironment(nullptr);
  EXPECT_EQ(4, loaded.Count());
}

TEST_F(PresenterStoreTest, EnvironmentNamingAnUnknownClassFails) {
  TGXML_Document document;
  document.LoadFromText(
      "<Presenters><Presenter Class=\"TNoSuchPresenter\" PresenterID=\"3\" /></Presenters>");
  TGlobePresenterStore store(&Globe);
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.LoadEnvironment(document.Root().Element("Presenters")); }),
            "Class TNoSuchPresenter not found");

  // A registered class that is no presenter is refused too.
  RegisterGlobeClass<TGlobePresenterStore, TGlobePresenterStore, TCustomVoduz4*>("TNotAPresenter");
  document.LoadFromText("<Presenters><Presenter Class=\"TNotAPresenter\" /></Presenters>");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.LoadEnvironment(document.Root().Element("Presenters")); }),
            "Class TNotAPresenter does not inherit from TGlobePresenter");
}

TEST_F(PresenterStoreTest, StreamFormNamesEveryClass) {
  TGlobePresenterStore store(&Globe);
  store.Add(Point(2, "Port"));
  store.Add(std::make_unique<TPolylinePresenter>(&Globe, 8));

  TGlobeMemoryStream stream;
  TGlobeStreamWriter writer(stream);
  store.WriteToStream(writer);
  const std::string& bytes = stream.Bytes();
  // Integer count 2, then the first class name as a ShortString.
  ASSERT_GE(bytes.size(), 4u + 1 + 15);
  EXPECT_EQ(std::string("\x02\x00\x00\x00", 4), bytes.substr(0, 4));
  EXPECT_EQ(std::string("\x0FTPointPresenter"), bytes.substr(4, 16));

  stream.Seek(0);
  TGlobeStreamReader reader(stream);
  TGlobePresenterStore loaded(&Globe);
  loaded.ReadFromStream(reader);
  EXPECT_EQ(stream.Size(), stream.Position());
  ASSERT_EQ(2, loaded.Count());
  EXPECT_EQ("Port", loaded.ByID(2, false)->Name());
  EXPECT_EQ("TPolylinePresenter", loaded.ByID(8, false)->ClassName());

  // A truncated record ends with an error, never a read past the data.
  TGlobeMemoryStream truncated(bytes.substr(0, bytes.size() - 3));
  TGlobeStreamReader truncatedReader(truncated);
  TGlobePresenterStore partial(&Globe);
  EXPECT_THROW(partial.ReadFromStream(truncatedReader), EGlobeException);
}

}  // namespace
}  // namespace globe
