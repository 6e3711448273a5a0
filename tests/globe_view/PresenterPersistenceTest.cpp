// Presenters saved and read back: environment elements of every class (saved, loaded, saved
// again without change), whole environments with layer and global presenters, binary records in
// the current and the older stream forms, and the point presenter's size cap encoding.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "globe/data/CustomVoduz4.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeLayer.h"
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

// Little-endian byte builders for hand-made records.
std::string Int32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}
std::string Int16(int v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Byte(int v) { return std::string(1, static_cast<char>(v)); }
std::string Short(const std::string& s) { return Byte(static_cast<int>(s.size())) + s; }

// A title or point font record: colour, unit, size, angle, style, name.
std::string FontRecord(uint32_t color, int unit, int size, const std::string& name) {
  return Int32(static_cast<int32_t>(color)) + Byte(unit) + Int16(size) + Int16(0) + Byte(0) +
         Short(name);
}
constexpr int PixelCode = 16;  // TGlobeUnitTypes::Pixel
constexpr int KilometerCode = 3;

class PresenterPersistenceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterPresenterClasses(); }

  static std::string Text(const TGlobePresenter& presenter) {
    TGXML_Document document;
    document.Root().AddElement("Presenter", presenter.SaveEnvironment());
    return document.SaveToText();
  }

  // Saves, loads into a new presenter of the class named by "Class", and checks that saving
  // the loaded one gives the same text.
  std::unique_ptr<TGlobePresenter> EnvironmentRoundTrip(const TGlobePresenter& presenter) {
    const std::string saved = Text(presenter);
    TGXML_Document document;
    document.LoadFromText(saved);
    const TGXML_Element* element = document.Root().Element("Presenter");
    EXPECT_NE(nullptr, element);
    if (element == nullptr) return nullptr;
    auto loaded = CreatePresenter(element->Attribute("Class", std::string_view()), &Globe, 0);
    loaded->LoadEnvironment(element);
    EXPECT_EQ(saved, Text(*loaded));
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
  static void ReadRecord(TGlobePresenter& presenter, const std::string& bytes,
                         int32_t version = GlobeStreamVersion) {
    TGlobeMemoryStream stream(bytes);
    TGlobeStreamReader reader(stream);
    reader.SetVersion(version);
    presenter.ReadFromStream(reader);
    EXPECT_EQ(stream.Size(), stream.Position());
  }

  TCustomVoduz4 Globe;
};

TEST_F(PresenterPersistenceTest, ClassNamesAndANullGlobe) {
  EXPECT_EQ("Point Presenter", TPointPresenter(&Globe, 0).Name());
  EXPECT_EQ("Poly Presenter", TPolyPresenter(&Globe, 0).Name());
  EXPECT_EQ("Polygon Presenter", TPolygonPresenter(&Globe, 0).Name());
  EXPECT_EQ("Poly Presenter", TPolylinePresenter(&Globe, 0).Name());
  EXPECT_EQ(ThrownMessage<std::logic_error>([&] { TPolyPresenter orphan(nullptr, 1); }),
            "TGlobePresenter.Create passed nil Globe");
}

TEST_F(PresenterPersistenceTest, PointPresenterEnvironmentRoundTrip) {
  TPointPresenter point(&Globe, 17);
  point.SetName("AxisPort");
  point.SetTitleAlignment(taBottomLeft);
  point.SetTitleOffset(-4);
  point.SetHidden(true);
  point.TitleFont().SetFontSize(18);
  point.TitleFont().SetFontUnit(TGlobeUnitTypes::Kilometer);
  point.SetPointType(ppTriangleDown);
  point.SetPointUnit(TGlobeUnitTypes::Kilometer);
  point.SetPointSize(20);
  point.SetMaxPointSize(15);
  point.SetSymbolIndex(-3);
  point.PointPen().SetPenColor(0x123456);
  point.PointPen().SetPenWidth(3);
  point.PointBrush().SetBrushColor(0x0000FF);
  point.PointFont().SetFontName("WingDings");

  // Every field came back: the loaded presenter writes the same binary record.
  auto loaded = EnvironmentRoundTrip(point);
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(Record(point), Record(*loaded));
  EXPECT_TRUE(loaded->Hidden());

  const std::string text = Text(point);
  EXPECT_NE(std::string::npos, text.find("Class=\"TPointPresenter\""));
  EXPECT_NE(std::string::npos, text.find("Unit=\"KM\""));
  EXPECT_NE(std::string::npos, text.find("Alignment=\"7\""));
  EXPECT_NE(std::string::npos, text.find("Type=\"8\""));
}

TEST_F(PresenterPersistenceTest, PolyPresentersEnvironmentRoundTrip) {
  for (const char* name : {"TPolyPresenter", "TPolygonPresenter", "TPolylinePresenter"}) {
    SCOPED_TRACE(name);
    auto presenter = CreatePresenter(name, &Globe, 9);
    auto& poly = dynamic_cast<TPolyPresenter&>(*presenter);
    poly.SetName("Zone");
    poly.SetTitleAlignment(taTop);
    poly.PolyPen().SetPenColor(0x808080);
    poly.PolyPen().SetPenWidth(2);
    poly.PolyBrush().SetBrushStyle(bsClear);
    auto loaded = EnvironmentRoundTrip(*presenter);
    ASSERT_NE(nullptr, loaded);
    EXPECT_EQ(name, loaded->ClassName());
    EXPECT_EQ(Record(*presenter), Record(*loaded));
  }
}

TEST_F(PresenterPersistenceTest, EnvironmentKeepsAnEmptyNameAndIgnoresBadOrdinals) {
  TPolyPresenter poly(&Globe, 2);
  poly.SetName("");
  auto loaded = EnvironmentRoundTrip(poly);
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ("", loaded->Name());

  TGXML_Document document;
  document.LoadFromText(
      "<Presenter Class=\"TPointPresenter\" Alignment=\"10\" Type=\"11\" Size=\"-5\" "
      "MaxSize=\"-1\" SymbolIndex=\"70000\" />");
  TPointPresenter point(&Globe, 0);
  point.LoadEnvironment(document.Root().Element("Presenter"));
  EXPECT_EQ(taNone, point.TitleAlignment());
  EXPECT_EQ(ppCircle, point.PointType());
  EXPECT_EQ(6, point.PointSize());
  EXPECT_EQ(0, point.MaxPointSize());
  EXPECT_EQ(0, point.SymbolIndex());

  document.LoadFromText("<Presenter Unit=\"XX\" />");
  EXPECT_THROW(point.LoadEnvironment(document.Root().Element("Presenter")), EGlobeException);
}

TEST_F(PresenterPersistenceTest, PointSizeIsNegatedWhenACapFollows) {
  TPointPresenter point(&Globe, 1);
  point.SetName("P");
  // Presenter record: ID 4, offset 4, name 2, alignment 1, title font 16 ("Arial") = 27 bytes.
  const size_t typeAt = 27;
  std::string bytes = Record(point);
  EXPECT_EQ(Byte(ppCircle) + Byte(PixelCode) + Int32(6), bytes.substr(typeAt, 6));
  EXPECT_EQ(Int16(0), bytes.substr(typeAt + 6, 2));  // SymbolIndex follows at once

  point.SetMaxPointSize(12);
  bytes = Record(point);
  EXPECT_EQ(Int32(-6) + Int32(12), bytes.substr(typeAt + 2, 8));
  TPointPresenter back(&Globe, 0);
  ReadRecord(back, bytes);
  EXPECT_EQ(6, back.PointSize());
  EXPECT_EQ(12, back.MaxPointSize());

  // A zero size cannot carry the sign: its cap is dropped so the record stays readable.
  point.SetPointSize(0);
  point.SetSymbolIndex(0x41);
  TPointPresenter zero(&Globe, 0);
  ReadRecord(zero, Record(point));
  EXPECT_EQ(0, zero.PointSize());
  EXPECT_EQ(0, zero.MaxPointSize());
  EXPECT_EQ(0x41, zero.SymbolIndex());
}

TEST_F(PresenterPersistenceTest, StreamRoundTripOfEveryClass) {
  TPointPresenter point(&Globe, 300);
  point.SetName("Convoy");
  point.SetTitleOffset(1000);
  point.SetTitleAlignment(taRight);
  point.SetPointType(ppFontSymbol);
  point.SetPointUnit(TGlobeUnitTypes::NauticalMile);
  point.SetPointSize(7);
  point.SetSymbolIndex(static_cast<int16_t>(0xF0A1));
  point.PointPen().SetPenColor(0xABCDEF);
  point.PointBrush().SetBrushBkColor(0x010203);
  point.PointFont().SetFontAngle(450);
  const std::string bytes = Record(point);
  TPointPresenter back(&Globe, 0);
  ReadRecord(back, bytes);
  EXPECT_EQ(bytes, Record(back));
  EXPECT_EQ(static_cast<int16_t>(0xF0A1), back.SymbolIndex());

  for (const char* name : {"TPolyPresenter", "TPolygonPresenter", "TPolylinePresenter"}) {
    SCOPED_TRACE(name);
    auto presenter = CreatePresenter(name, &Globe, -2);
    auto& poly = dynamic_cast<TPolyPresenter&>(*presenter);
    poly.PolyPen().SetPenColor(0x00FF00);
    poly.PolyBrush().SetBrushColor(0x0000FF);
    const std::string record = Record(*presenter);
    auto copy = CreatePresenter(name, &Globe, 0);
    ReadRecord(*copy, record);
    EXPECT_EQ(record, Record(*copy));
  }

  // The polyline record has no brush: it is one brush record shorter than the polygon's.
  TPolygonPresenter polygon(&Globe, 1);
  TPolylinePresenter polyline(&Globe, 1);
  polygon.SetName("x");
  polyline.SetName("x");
  EXPECT_EQ(Record(polygon).size(), Record(polyline).size() + 4 + 4 + 1);
}

TEST_F(PresenterPersistenceTest, OldStreamsHaveAByteOffsetOrNone) {
  const std::string font = FontRecord(0x0000FF, PixelCode, 12, "Arial");
  const std::string oldPen = Int32(0x008000) + Byte(1) + Byte(3);  // colour, style, width byte
  const std::string head = Int32(7);
  const std::string tail = Short("Coast") + Byte(taRight) + font + oldPen;

  TPolylinePresenter v300(&Globe, 0);
  v300.SetTitleOffset(99);  // absent from the record: stays as it was
  ReadRecord(v300, head + tail, 0x300);
  EXPECT_EQ(7, v300.PresenterID());
  EXPECT_EQ(99, v300.TitleOffset());
  EXPECT_EQ("Coast", v300.Name());
  EXPECT_EQ(taRight, v300.TitleAlignment());
  EXPECT_EQ(12, v300.TitleFont().FontSize());
  EXPECT_EQ(0x0000FFu, v300.TitleFont().FontColor());
  EXPECT_EQ(0x008000u, v300.PolyPen().PenColor());
  EXPECT_EQ(3, v300.PolyPen().PenWidth());
  EXPECT_EQ(TGlobeUnitTypes::Pixel, v300.PolyPen().PenUnit());

  TPolylinePresenter v301(&Globe, 0);
  ReadRecord(v301, head + Byte(0xFA) + tail, 0x301);
  EXPECT_EQ(-6, v301.TitleOffset());
  EXPECT_EQ("Coast", v301.Name());

  // Written in those forms again, the records are the same bytes.
  EXPECT_EQ(head + Byte(0xFA) + tail, Record(v301, 0x301));
  EXPECT_EQ(head + tail, Record(v300, 0x300));
}

TEST_F(PresenterPersistenceTest, OldPointPresenterRecord) {
  // Version 0x3FF: byte offset, pen without unit, brush without background colour.
  const std::string record =
      Int32(21) + Byte(5) + Short("Base") + Byte(taCenter) +
      FontRecord(0, PixelCode, 9, "Arial") +
      Byte(ppSquare) + Byte(KilometerCode) + Int32(-50) + Int32(20) + Int16(0x4B) + Short("") +
      Int32(0x000000) + Byte(0) + Byte(2) +   // pen: black, solid, width 2
      Int32(0x0000FF) + Byte(0) +             // brush: red, solid
      FontRecord(0x00FF00, KilometerCode, 14, "Symbol");
  TPointPresenter point(&Globe, 0);
  ReadRecord(point, record, 0x3FF);
  EXPECT_EQ(21, point.PresenterID());
  EXPECT_EQ(5, point.TitleOffset());
  EXPECT_EQ(ppSquare, point.PointType());
  EXPECT_EQ(TGlobeUnitTypes::Kilometer, point.PointUnit());
  EXPECT_EQ(50, point.PointSize());
  EXPECT_EQ(20, point.MaxPointSize());
  EXPECT_EQ(0x4B, point.SymbolIndex());
  EXPECT_EQ("", point.ImageName());
  EXPECT_EQ(2, point.PointPen().PenWidth());
  EXPECT_EQ(0x0000FFu, point.PointBrush().BrushColor());
  EXPECT_EQ(0x0000FFu, point.PointBrush().BrushBkColor());
  EXPECT_EQ("Symbol", point.PointFont().FontName());
  EXPECT_EQ(14, point.PointFont().FontSize());
}

TEST_F(PresenterPersistenceTest, HostileRecordsNeitherCrashNorDesynchronise) {
  TPointPresenter source(&Globe, 1);
  source.SetName("P");
  source.SetSymbolIndex(0x1234);
  std::string bytes = Record(source);
  const size_t typeAt = 27;
  bytes[typeAt] = static_cast<char>(200);      // no such PointType
  bytes[typeAt + 1] = static_cast<char>(99);   // no such unit
  bytes[typeAt - 17] = static_cast<char>(77);  // no such TitleAlignment
  TPointPresenter point(&Globe, 0);
  ReadRecord(point, bytes);
  EXPECT_EQ(ppCircle, point.PointType());
  EXPECT_EQ(TGlobeUnitTypes::Pixel, point.PointUnit());
  EXPECT_EQ(taNone, point.TitleAlignment());
  EXPECT_EQ(0x1234, point.SymbolIndex());

  // The smallest Integer as a negated size still gives a non-negative size.
  std::string extreme = Record(source);
  extreme.replace(typeAt + 2, 4, Int32(std::numeric_limits<int32_t>::min()));
  extreme.insert(typeAt + 6, Int32(-8));  // and a negative cap
  TPointPresenter big(&Globe, 0);
  ReadRecord(big, extreme);
  EXPECT_EQ(std::numeric_limits<int32_t>::max(), big.PointSize());
  EXPECT_EQ(0, big.MaxPointSize());

  for (size_t cut = 0; cut < bytes.size(); cut += 5) {
    TPointPresenter partial(&Globe, 0);
    TGlobeMemoryStream stream(bytes.substr(0, cut));
    TGlobeStreamReader reader(stream);
    EXPECT_THROW(partial.ReadFromStream(reader), EGlobeException);
  }
}

// The global presenters and a layer's presenters are written with the globe and come back from
// the saved text unchanged.
TEST_F(PresenterPersistenceTest, LayerAndGlobalPresentersTravelWithTheGlobe) {
  auto environmentText = [](const TCustomVoduz4& globe) {
    TGXML_Document document;
    document.Root().AddElement("TGlobe", globe.SaveEnvironment());
    return document.SaveToText();
  };
  auto* global = dynamic_cast<TPointPresenter*>(Globe.LayerStore().GlobalPresenters()->ByID(-1, false));
  ASSERT_NE(nullptr, global);
  global->SetPointSize(9);

  TGlobeLayer* bases = Globe.LayerStore().NewLayer();
  bases->SetName("Bases");
  auto port = std::make_unique<TPointPresenter>(&Globe, 0);
  port->SetName("AxisPort");
  port->SetPointUnit(TGlobeUnitTypes::Kilometer);
  port->SetPointSize(20);
  port->SetMaxPointSize(15);
  port->PointBrush().SetBrushColor(0x0000FF);
  bases->Presenters()->Add(std::move(port));
  auto zone = std::make_unique<TPolygonPresenter>(&Globe, 0);
  zone->SetName("");
  zone->PolyBrush().SetBrushStyle(bsClear);
  bases->Presenters()->Add(std::move(zone));
  const std::string saved = environmentText(Globe);

  TGXML_Document document;
  document.LoadFromText(saved);
  TCustomVoduz4 loaded;
  loaded.LoadEnvironment(document.Root().Element("TGlobe"));
  EXPECT_EQ(saved, environmentText(loaded));

  TGlobeLayer* layer = loaded.LayerStore().LayerByName("Bases");
  ASSERT_NE(nullptr, layer);
  ASSERT_EQ(2, layer->Presenters()->Count());
  auto* back = dynamic_cast<TPointPresenter*>(layer->Presenters()->ByID(1, false));
  ASSERT_NE(nullptr, back);
  EXPECT_EQ(&loaded, back->Globe());
  EXPECT_EQ(15, back->MaxPointSize());
  EXPECT_EQ("TPolygonPresenter", layer->Presenters()->ByID(2, false)->ClassName());
  // The layer's store finds the loaded global presenters through the globe.
  auto* loadedGlobal = dynamic_cast<TPointPresenter*>(layer->Presenters()->ByID(-1, true));
  ASSERT_NE(nullptr, loadedGlobal);
  EXPECT_EQ(9, loadedGlobal->PointSize());
}

}  // namespace
}  // namespace globe
