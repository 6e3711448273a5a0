// Presenters and their stores: saved and read back (environment text, binary records in the
// current and older forms, hostile records), copies, pictures by name, the search for an
// equivalent presenter, the ID rules of a store, hit tests through the presenters, and the
// presenters a MapInfo reader makes from its styles.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <tuple>

#include "globe/data/ClassRegistry.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
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
#include "tests/support/BitmapFiles.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::Le16;
using corvalis::testing::ThrownMessage;

// Little-endian byte builders for hand-made records.
std::string Int32(int32_t v) { return corvalis::testing::Le32(static_cast<uint32_t>(v)); }
std::string Byte(int v) { return std::string(1, static_cast<char>(v)); }
std::string Short(const std::string& s) { return Byte(static_cast<int>(s.size())) + s; }
// A title or point font record: colour, unit, size, angle, style, name.
std::string FontRecord(uint32_t color, int unit, int size, const std::string& name) {
  return Int32(static_cast<int32_t>(color)) + Byte(unit) + Le16(size) + Le16(0) + Byte(0) + Short(name);
}
constexpr int PixelCode = 16;  // TGlobeUnitTypes::Pixel
constexpr int KilometerCode = 3;
// Presenter record: ID 4, offset 4, name 2 ("P"), alignment 1, title font 16 ("Arial").
constexpr size_t TypeAt = 27;

class PresenterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPresenterClasses(); }
  static std::string Text(const TGlobePresenter& presenter) {
    TGXML_Document document;
    document.Root().AddElement("Presenter", presenter.SaveEnvironment());
    return document.SaveToText();
  }
  // Saves, loads into a new presenter of the class named by "Class", checks that saving the
  // loaded one gives the same text and the same binary record (every field came back).
  std::unique_ptr<TGlobePresenter> EnvironmentRoundTrip(const TGlobePresenter& presenter) {
    const std::string saved = Text(presenter);
    TGXML_Document document;
    document.LoadFromText(saved);
    const TGXML_Element* element = document.Root().Element("Presenter");
    auto loaded = CreatePresenter(element->Attribute("Class", std::string_view()), &Globe, 0);
    loaded->LoadEnvironment(element);
    EXPECT_EQ(saved, Text(*loaded));
    EXPECT_EQ(Record(presenter), Record(*loaded));
    return loaded;
  }
  static std::string Record(const TGlobePresenter& presenter, int32_t version = GlobeStreamVersion) {
    TGlobeMemoryStream stream;
    TGlobeStreamWriter writer(stream);
    writer.SetVersion(version);
    presenter.WriteToStream(writer);
    return stream.Bytes();
  }
  // Reads a record into `presenter`, checking that exactly the record was consumed.
  static void ReadRecord(TGlobePresenter& presenter, const std::string& bytes, int32_t version = GlobeStreamVersion) {
    TGlobeMemoryStream stream(bytes);
    TGlobeStreamReader reader(stream);
    reader.SetVersion(version);
    presenter.ReadFromStream(reader);
    EXPECT_EQ(stream.Size(), stream.Position());
  }
  // Writes the record, reads it into a new presenter of the class, which writes the same bytes.
  void ExpectRecordRoundTrip(const TGlobePresenter& presenter) {
    const std::string record = Record(presenter);
    auto copy = CreatePresenter(presenter.ClassName(), &Globe, 0);
    ReadRecord(*copy, record);
    EXPECT_EQ(record, Record(*copy));
  }
  TCustomVoduz4 Globe;
};

TEST_F(PresenterTest, ANullGlobeIsRefused) {
  EXPECT_EQ(ThrownMessage<std::logic_error>([&] { TPolyPresenter orphan(nullptr, 1); }),
            "TGlobePresenter.Create passed nil Globe");
}

TEST_F(PresenterTest, PointPresenterRoundTrips) {
  TPointPresenter point(&Globe, 17);
  point.SetName("AxisPort");
  point.SetTitleAlignment(taBottomLeft);
  point.SetTitleOffset(-4);
  point.SetHidden(true);
  point.SetPointType(ppTriangleDown);
  point.SetPointUnit(TGlobeUnitTypes::Kilometer);
  point.SetPointSize(20);
  point.SetMaxPointSize(15);
  point.SetSymbolIndex(-3);
  point.PointBrush().SetBrushBkColor(0x010203);
  point.PointFont().SetFontName("WingDings");
  EXPECT_TRUE(EnvironmentRoundTrip(point)->Hidden());
  ExpectRecordRoundTrip(point);
  const std::string text = Text(point);
  for (const char* attribute : {"Class=\"TPointPresenter\"", "Unit=\"KM\"", "Alignment=\"7\"", "Type=\"8\""})
    EXPECT_NE(std::string::npos, text.find(attribute)) << attribute;
  // A font symbol of a large index.
  point.SetPointType(ppFontSymbol);
  point.SetSymbolIndex(static_cast<int16_t>(0xF0A1));
  TPointPresenter back(&Globe, 0);
  ReadRecord(back, Record(point));
  EXPECT_EQ(static_cast<int16_t>(0xF0A1), back.SymbolIndex());
}

TEST_F(PresenterTest, PolyPresentersRoundTrip) {
  for (const char* name : {"TPolyPresenter", "TPolygonPresenter", "TPolylinePresenter"}) {
    SCOPED_TRACE(name);
    auto presenter = CreatePresenter(name, &Globe, 9);
    auto& poly = dynamic_cast<TPolyPresenter&>(*presenter);
    poly.SetName("Zone");
    poly.PolyPen().SetPenWidth(2);
    poly.PolyBrush().SetBrushStyle(bsClear);
    EXPECT_EQ(name, EnvironmentRoundTrip(*presenter)->ClassName());
    ExpectRecordRoundTrip(*presenter);
  }
  // The polyline record has no brush: it is one brush record shorter than the polygon's.
  TPolygonPresenter polygon(&Globe, 1);
  TPolylinePresenter polyline(&Globe, 1);
  polygon.SetName("x");
  polyline.SetName("x");
  EXPECT_EQ(Record(polygon).size(), Record(polyline).size() + 4 + 4 + 1);
}

TEST_F(PresenterTest, EnvironmentKeepsAnEmptyNameAndIgnoresBadOrdinals) {
  TPolyPresenter poly(&Globe, 2);
  poly.SetName("");
  EXPECT_EQ("", EnvironmentRoundTrip(poly)->Name());
  TGXML_Document document;
  document.LoadFromText(
      "<Presenter Class=\"TPointPresenter\" Alignment=\"10\" Type=\"11\" Size=\"-5\" "
      "MaxSize=\"-1\" SymbolIndex=\"70000\" />");
  TPointPresenter point(&Globe, 0);
  point.LoadEnvironment(document.Root().Element("Presenter"));
  EXPECT_EQ(std::tuple(point.TitleAlignment(), point.PointType(), point.PointSize(), point.MaxPointSize(), point.SymbolIndex()),
            std::tuple(taNone, ppCircle, 6, 0, int16_t{0}));
  document.LoadFromText("<Presenter Unit=\"XX\" />");
  EXPECT_THROW(point.LoadEnvironment(document.Root().Element("Presenter")), EGlobeException);
}

TEST_F(PresenterTest, PointSizeIsNegatedWhenACapFollows) {
  TPointPresenter point(&Globe, 1);
  point.SetName("P");
  std::string bytes = Record(point);
  EXPECT_EQ(Byte(ppCircle) + Byte(PixelCode) + Int32(6), bytes.substr(TypeAt, 6));
  EXPECT_EQ(Le16(0), bytes.substr(TypeAt + 6, 2));  // SymbolIndex follows at once
  point.SetMaxPointSize(12);
  bytes = Record(point);
  EXPECT_EQ(Int32(-6) + Int32(12), bytes.substr(TypeAt + 2, 8));
  ExpectRecordRoundTrip(point);
  // A zero size cannot carry the sign: its cap is dropped so the record stays readable.
  point.SetPointSize(0);
  point.SetSymbolIndex(0x41);
  TPointPresenter back(&Globe, 0);
  ReadRecord(back, Record(point));
  EXPECT_EQ(std::tuple(back.PointSize(), back.MaxPointSize(), back.SymbolIndex()), std::tuple(0, 0, int16_t{0x41}));
}

TEST_F(PresenterTest, OldStreamsHaveAByteOffsetOrNone) {
  const std::string font = FontRecord(0x0000FF, PixelCode, 12, "Arial");
  const std::string oldPen = Int32(0x008000) + Byte(1) + Byte(3);  // colour, style, width byte
  const std::string head = Int32(7);
  const std::string tail = Short("Coast") + Byte(taRight) + font + oldPen;
  TPolylinePresenter v300(&Globe, 0);
  v300.SetTitleOffset(99);  // absent from the record: stays as it was
  ReadRecord(v300, head + tail, 0x300);
  EXPECT_EQ(99, v300.TitleOffset());
  EXPECT_EQ(3, v300.PolyPen().PenWidth());
  TPolylinePresenter v301(&Globe, 0);
  ReadRecord(v301, head + Byte(0xFA) + tail, 0x301);
  EXPECT_EQ(-6, v301.TitleOffset());
  // Written in those forms again, the records are the same bytes.
  EXPECT_EQ(head + Byte(0xFA) + tail, Record(v301, 0x301));
  EXPECT_EQ(head + tail, Record(v300, 0x300));
}

TEST_F(PresenterTest, OldPointPresenterRecord) {
  // Version 0x3FF: byte offset, pen without unit, brush without background colour.
  const std::string record =
      Int32(21) + Byte(5) + Short("Base") + Byte(taCenter) + FontRecord(0, PixelCode, 9, "Arial") +
      Byte(ppSquare) + Byte(KilometerCode) + Int32(-50) + Int32(20) + Le16(0x4B) + Short("") +
      Int32(0x000000) + Byte(0) + Byte(2) +  // pen: black, solid, width 2
      Int32(0x0000FF) + Byte(0) +            // brush: red, solid
      FontRecord(0x00FF00, KilometerCode, 14, "Symbol");
  TPointPresenter point(&Globe, 0);
  ReadRecord(point, record, 0x3FF);
  EXPECT_EQ(std::tuple(point.TitleOffset(), point.PointSize(), point.MaxPointSize(), point.PointBrush().BrushBkColor()),
            std::tuple(5, 50, 20, TColor{0x0000FF}));
  EXPECT_EQ(record, Record(point, 0x3FF));
}

TEST_F(PresenterTest, HostileRecordsNeitherCrashNorDesynchronise) {
  TPointPresenter source(&Globe, 1);
  source.SetName("P");
  source.SetSymbolIndex(0x1234);
  std::string bytes = Record(source);
  bytes[TypeAt] = static_cast<char>(200);      // no such PointType
  bytes[TypeAt + 1] = static_cast<char>(99);   // no such unit
  bytes[TypeAt - 17] = static_cast<char>(77);  // no such TitleAlignment
  TPointPresenter point(&Globe, 0);
  ReadRecord(point, bytes);
  EXPECT_EQ(std::tuple(point.PointType(), point.PointUnit(), point.TitleAlignment(), point.SymbolIndex()),
            std::tuple(ppCircle, TGlobeUnitTypes::Pixel, taNone, int16_t{0x1234}));
  // The smallest Integer as a negated size still gives a non-negative size.
  std::string extreme = Record(source);
  extreme.replace(TypeAt + 2, 4, Int32(std::numeric_limits<int32_t>::min()));
  extreme.insert(TypeAt + 6, Int32(-8));  // and a negative cap
  ReadRecord(point, extreme);
  EXPECT_EQ(std::numeric_limits<int32_t>::max(), point.PointSize());
  EXPECT_EQ(0, point.MaxPointSize());
  for (size_t cut = 0; cut < bytes.size(); cut += 5) {
    TGlobeMemoryStream stream(bytes.substr(0, cut));
    TGlobeStreamReader reader(stream);
    EXPECT_THROW(point.ReadFromStream(reader), EGlobeException);
  }
}

// The global presenters and a layer's presenters are written with the globe and come back from
// the saved text unchanged.
TEST_F(PresenterTest, LayerAndGlobalPresentersTravelWithTheGlobe) {
  auto environmentText = [](const TCustomVoduz4& globe) {
    TGXML_Document document;
    document.Root().AddElement("TGlobe", globe.SaveEnvironment());
    return document.SaveToText();
  };
  dynamic_cast<TPointPresenter&>(*Globe.LayerStore().GlobalPresenters()->ByID(-1, false)).SetPointSize(9);
  TGlobeLayer* bases = Globe.LayerStore().NewLayer();
  bases->SetName("Bases");
  auto port = std::make_unique<TPointPresenter>(&Globe, 0);
  port->SetMaxPointSize(15);
  bases->Presenters()->Add(std::move(port));
  bases->Presenters()->Add(std::make_unique<TPolygonPresenter>(&Globe, 0));
  const std::string saved = environmentText(Globe);
  TGXML_Document document;
  document.LoadFromText(saved);
  TCustomVoduz4 loaded;
  loaded.LoadEnvironment(document.Root().Element("TGlobe"));
  EXPECT_EQ(saved, environmentText(loaded));
  TGlobeLayer* layer = loaded.LayerStore().LayerByName("Bases");
  ASSERT_NE(nullptr, layer);
  EXPECT_EQ(&loaded, layer->Presenters()->ByID(1, false)->Globe());
  // The layer's store finds the loaded global presenters through the globe.
  EXPECT_EQ(9, dynamic_cast<TPointPresenter&>(*layer->Presenters()->ByID(-1, true)).PointSize());
}

TEST_F(PresenterTest, CloneIsAnIndependentCopyAndAssignCopiesTheCommonFields) {
  TPointPresenter point(&Globe, 8);
  point.SetName("Ships");
  point.PointPen().SetPenColor(0x0000FF);
  point.SetImage(std::make_unique<platform::Bitmap24>(3, 2, 0x00FF00));
  std::unique_ptr<TGlobePresenter> clone = point.Clone();
  auto& copy = dynamic_cast<TPointPresenter&>(*clone);
  EXPECT_EQ(Record(point), Record(copy));
  ASSERT_NE(nullptr, copy.Image());
  EXPECT_EQ(0x00FF00u, copy.Image()->Pixel(2, 1));
  copy.SetImage(nullptr);
  EXPECT_NE(nullptr, point.Image());
  // Between families only the common fields go; within the poly family the pen and brush too.
  TPolylinePresenter line(&Globe, 5);
  line.SetName("Route");
  line.SetTitleOffset(9);
  line.SetHidden(true);
  line.PolyPen().SetPenColor(0x00FFFF);
  point.Assign(line);
  EXPECT_EQ(std::tuple(point.PresenterID(), point.Name(), point.TitleOffset(), point.Hidden(), point.PointPen().PenColor()),
            std::tuple(5, "Route", 9, true, TColor{0x0000FF}));
  TPolygonPresenter polygon(&Globe, 2);
  polygon.Assign(line);
  EXPECT_EQ(0x00FFFFu, polygon.PolyPen().PenColor());
  EXPECT_EQ("TPolygonPresenter", polygon.Clone()->ClassName());
}

TEST_F(PresenterTest, ImageNameIsResolvedLoadedAndSavedRelative) {
  // A 2 x 2 bitmap file of 24 bits, bottom-up: bottom row blue, green; top row red, white.
  const std::string bottom = std::string("\xFF\x00\x00\x00\xFF\x00", 6) + std::string(2, '\0');
  const std::string top = std::string("\x00\x00\xFF\xFF\xFF\xFF", 6) + std::string(2, '\0');
  testing::TempDir dir;
  dir.Write("flag.bmp", corvalis::testing::BitmapFile(2, 2, 24, "", bottom + top));
  Globe.SetDataDirectory(dir.Path.string());
  TPointPresenter point(&Globe, 1);
  point.SetImageName("flag.bmp");
  EXPECT_EQ((dir.Path / "flag.bmp").lexically_normal(), std::filesystem::path(point.ImageName()).lexically_normal());
  ASSERT_NE(nullptr, point.Image());
  EXPECT_EQ(0xFF0000u, point.Image()->Pixel(0, 1));  // bottom-left blue
  EXPECT_EQ("flag.bmp", point.SaveEnvironment()->Attribute("ImageName", std::string_view()));
  // A name that cannot be resolved is stored empty and frees the picture.
  point.SetImageName("missing.bmp");
  EXPECT_EQ("", point.ImageName());
  EXPECT_EQ(nullptr, point.Image());
}

TEST_F(PresenterTest, EquivalentPresenterSearch) {
  TGlobePresenterStore store(&Globe);
  auto poly = std::make_unique<TPolyPresenter>(&Globe, 0);
  poly->PolyPen().SetPenColor(0x0000FF);
  store.Add(std::move(poly));
  auto red = std::make_unique<TPointPresenter>(&Globe, 0);
  red->PointPen().SetPenColor(0x0000FF);
  const int32_t redID = store.Add(std::move(red));
  auto blue = std::make_unique<TPointPresenter>(&Globe, 0);
  blue->PointPen().SetPenColor(0xFF0000);
  blue->TitleFont().SetFontName("Courier");
  const int32_t blueID = store.Add(std::move(blue));
  TGlobePen bluePen, greenPen;
  bluePen.SetPenColor(0xFF0000);
  greenPen.SetPenColor(0x00FF00);
  TGlobeBrush brush;  // equal to the presenters' own new brushes
  TGlobeFont courier("Courier", 9, TGlobeUnitTypes::Pixel, clBlack);
  auto find = [&](TGlobePen* pen, TGlobeBrush* brush, TGlobeFont* font, TPointPresenterType type = ppCircle,
                  TGlobeUnitTypes unit = TGlobeUnitTypes::Pixel, int32_t size = 6, const char* image = "") {
    return FindEquivalentPointPresenter(store, pen, brush, nullptr, font, type, unit, size, image);
  };
  EXPECT_EQ(find(&bluePen, &brush, nullptr), blueID);
  EXPECT_EQ(find(nullptr, nullptr, nullptr), redID);  // nothing given to compare
  EXPECT_EQ(find(nullptr, nullptr, &courier), blueID);
  EXPECT_EQ(find(&greenPen, nullptr, nullptr), 0);
  EXPECT_EQ(find(&bluePen, nullptr, nullptr, ppSquare), 0);
  EXPECT_EQ(find(&bluePen, nullptr, nullptr, ppCircle, TGlobeUnitTypes::Meter), 0);
  EXPECT_EQ(find(&bluePen, nullptr, nullptr, ppCircle, TGlobeUnitTypes::Pixel, 7), 0);
  EXPECT_EQ(find(&bluePen, nullptr, nullptr, ppCircle, TGlobeUnitTypes::Pixel, 6, "x.bmp"), 0);
}

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
  EXPECT_EQ(5, store.Add(Point(5, "five")));
  // A second presenter with ID 5 is not taken: the store keeps its own.
  EXPECT_EQ(5, store.Add(Point(5, "other five")));
  EXPECT_EQ("five", store.ByID(5, false)->Name());
  // The next free ID follows the largest one; it is at least one and never overflows.
  EXPECT_EQ(6, store.Add(Point(0)));
  TGlobePresenterStore top(&Globe);
  for (int32_t id : {1, 2, std::numeric_limits<int32_t>::max(), 4}) top.Add(Point(id));
  EXPECT_EQ(3, top.Add(Point(0)));
  EXPECT_EQ(5, top.Add(Point(0)));
}

TEST_F(PresenterStoreTest, RemoveHandsThePresenterBack) {
  store.Add(Point(0, "a"));
  TGlobePresenter* a = store.Presenters(0);
  ASSERT_EQ(a, store.Remove(a).get());
  EXPECT_EQ(nullptr, store.Remove(a));
  EXPECT_THROW(store.Presenters(0), std::out_of_range);
}

TEST_F(PresenterStoreTest, AssignCopiesPresentersForItsOwnGlobe) {
  TCustomVoduz4 other;
  store.Add(Point(3, "dot"));
  store.Add(std::make_unique<TPolygonPresenter>(&Globe, 4));
  TGlobePresenterStore target(&other);
  target.Add(Point(9));
  target.Assign(store);
  EXPECT_EQ(&other, target.Presenters(0)->Globe());
  EXPECT_EQ(Text(store), Text(target));
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
  // The same text: the earlier presenter gone, classes, order and IDs (13 given on Add) kept.
  EXPECT_EQ(Text(store), Text(loaded));
  // Classes that are unknown or no presenter are refused.
  TGXML_Document document;
  document.LoadFromText("<Presenters><Presenter Class=\"TNoSuchPresenter\" PresenterID=\"3\" /></Presenters>");
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { store.LoadEnvironment(document.Root().Element("Presenters")); }),
            "Class TNoSuchPresenter not found");
  RegisterGlobeClass<TGlobePresenterStore, TGlobePresenterStore, TGlobeHost*>("TNotAPresenter");
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
}

// Hits everything within one degree of the object's centre.
class TWidePresenter : public TPolyPresenter {
 public:
  using TPolyPresenter::TPolyPresenter;
  std::string ClassName() const override { return "TWidePresenter"; }
  bool HitTestObject(TGlobeHost&, const TGeoPoint& point, TGlobeObject& object, int32_t) override {
    const TGeoPoint centre = object.GetCentroid();
    return std::abs(int64_t{point.LongX} - centre.LongX) <= GlobeUnitsPerDegree &&
           std::abs(int64_t{point.LatY} - centre.LatY) <= GlobeUnitsPerDegree;
  }

 protected:
  std::unique_ptr<TGlobePresenter> NewInstance(TGlobeHost* globe, int32_t id) const override {
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
  EXPECT_EQ(std::pair(polygon.PolyBrush().BrushColor(), polygon.PolyBrush().BrushStyle()), std::pair(TColor{0x0000FF}, bsSolid));  // red
  EXPECT_EQ(polygon.PolyPen().PenWidth(), 2);
  EXPECT_EQ(&PresenterOf<TPolygonPresenter>(1), &polygon);
  EXPECT_EQ(PresenterOf<TPolygonPresenter>(2).PolyBrush().BrushStyle(), bsClear);
  auto& line = PresenterOf<TPolylinePresenter>(3);
  EXPECT_EQ(std::pair(line.PolyPen().PenStyle(), line.PolyPen().PenColor()), std::pair(psDash, TColor{0xFF0000}));
  EXPECT_TRUE(PresenterOf<TPointPresenter>(4).PointFont().Equals(TGlobeFont("Times", 9, TGlobeUnitTypes::Meter, 0x00FF00)));
  // Rebuilt after a flush, the objects find the same presenters and add none.
  reader->Flush();
  EXPECT_EQ(&PresenterOf<TPolylinePresenter>(3), &line);
  EXPECT_EQ(reader->Presenters()->Count(), 4);
}

}  // namespace
}  // namespace globe
