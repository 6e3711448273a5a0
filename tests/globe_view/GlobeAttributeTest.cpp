// Pens, brushes and fonts: their saved forms (environment text and stream bytes, old versions
// included) and what they select on a canvas.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "FakeGlobeView.h"
#include "globe/data/GlobeException.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "platform/ConvertError.h"
#include "platform/PatternResources.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;
using platform::BackgroundMode;
using platform::BrushKind;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

template <class T>
std::string StreamOf(const T& attribute, int32_t version = GlobeStreamVersion) {
  TGlobeMemoryStream m;
  TGlobeStreamWriter w(m);
  w.SetVersion(version);
  attribute.WriteToStream(w);
  return m.Bytes();
}

template <class T>
void ReadFrom(T& attribute, const std::string& bytes, int32_t version = GlobeStreamVersion) {
  TGlobeMemoryStream m(bytes);
  TGlobeStreamReader r(m);
  r.SetVersion(version);
  attribute.ReadFromStream(r);
  EXPECT_EQ(m.Remaining(), 0);
}

std::string XmlOf(const TGlobeAttribute& attribute) {
  TGXML_Document doc;
  doc.Root().AddElement("A", attribute.SaveEnvironment());
  return doc.SaveToText();
}

const TGXML_Element* Parse(TGXML_Document& doc, const std::string& text) {
  doc.LoadFromText(text);
  return doc.Root().Element("A");
}

// `attribute` is written as `bytes` and as text, and read back from either equals it.
template <class T>
void ExpectStreamRoundTrip(const T& attribute, const std::string& bytes) {
  EXPECT_EQ(StreamOf(attribute), bytes);
  T back, fromText;
  ReadFrom(back, bytes);
  EXPECT_TRUE(back.Equals(attribute));
  TGXML_Document doc;
  fromText.LoadEnvironment(Parse(doc, XmlOf(attribute)));
  EXPECT_TRUE(fromText.Equals(attribute));
}

TEST(GlobePenTest, EnvironmentForm) {
  EXPECT_EQ(XmlOf(TGlobePen(clRed, psDash, 3, TGlobeUnitTypes::Kilometer)), "<A Color=\"clRed\" Style=\"1\" Width=\"3\" Unit=\"KM\" />\r\n");
  // Absent attributes and a null element keep the current values; a bad style is ignored.
  TGXML_Document doc;
  TGlobePen partial(clBlue, psDot, 2, TGlobeUnitTypes::Meter);
  partial.LoadEnvironment(Parse(doc, "<A Width=\"5\" Style=\"7\" />"));
  partial.LoadEnvironment(nullptr);
  EXPECT_TRUE(partial.Equals(TGlobePen(clBlue, psDot, 5, TGlobeUnitTypes::Meter)));
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { partial.LoadEnvironment(Parse(doc, "<A Unit=\"QQ\" />")); }),
            "StrToUnits: Unknown Unit QQ");
  EXPECT_THROW(partial.LoadEnvironment(Parse(doc, "<A Width=\"wide\" />")), platform::EConvertError);
}

TEST(GlobePenTest, StreamForms) {
  // colour 0x00563412, style psDot (2), width 300 (0x012C), unit Kilometer (3).
  ExpectStreamRoundTrip(TGlobePen(0x00563412, psDot, 300, TGlobeUnitTypes::Kilometer), Bytes({0x12, 0x34, 0x56, 0, 2, 0x2C, 0x01, 0, 0, 3}));
  // Before version 0x400: the width in one byte and no unit (Pixel).
  const std::string old = Bytes({0x12, 0x34, 0x56, 0, 2, 7});
  TGlobePen fromOld(clBlack, psSolid, 1, TGlobeUnitTypes::Kilometer);
  ReadFrom(fromOld, old, 0x3FF);
  EXPECT_TRUE(fromOld.Equals(TGlobePen(0x00563412, psDot, 7, TGlobeUnitTypes::Pixel)));
  EXPECT_EQ(StreamOf(TGlobePen(0x00563412, psDot, 7), 0x3FF), old);
  // A style or unit ordinal outside its range keeps the current value.
  TGlobePen kept(clBlack, psDashDot, 1, TGlobeUnitTypes::Meter);
  ReadFrom(kept, Bytes({0, 0, 0, 0, 99, 4, 0, 0, 0, 200}));
  EXPECT_TRUE(kept.Equals(TGlobePen(clBlack, psDashDot, 4, TGlobeUnitTypes::Meter)));
}

TEST(GlobeBrushTest, EnvironmentAndStreamForms) {
  const TGlobeBrush pattern(0x00010203, clWhite, bsPattern50);
  EXPECT_EQ(XmlOf(pattern), "<A Color=\"$00010203\" BkColor=\"clWhite\" Style=\"57\" />\r\n");
  TGXML_Document doc;
  TGlobeBrush back(clBlack, clBlack, bsPattern50);
  back.LoadEnvironment(Parse(doc, "<A Style=\"58\" BkColor=\"$000000ff\" />"));
  EXPECT_EQ(back.BrushStyle(), bsPattern50);
  EXPECT_EQ(back.BrushBkColor(), clRed);
  const TGlobeBrush brush(0x00112233, 0x00445566, bsHorizontal);
  ExpectStreamRoundTrip(brush, Bytes({0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0, 2}));
  // Before version 0x405: no background colour; it becomes the colour.
  ReadFrom(back, Bytes({0x33, 0x22, 0x11, 0, 9}), 0x404);
  EXPECT_TRUE(back.Equals(TGlobeBrush(0x00112233, 0x00112233, bsPattern2)));
  EXPECT_EQ(StreamOf(brush, 0x404), Bytes({0x33, 0x22, 0x11, 0, 2}));
}

TEST(GlobeFontTest, EnvironmentAndStreamForms) {
  TGlobeFont font("Times New Roman", 12, TGlobeUnitTypes::NauticalMile, clBlue);
  font.SetFontAngle(-450);  // 0xFE3E as a SmallInt
  font.SetFontStyle({fsBold, fsUnderline});
  EXPECT_EQ(XmlOf(font),
            "<A Name=\"Times New Roman\" Color=\"clBlue\" Style=\"5\" Size=\"12\" Angle=\"-450\" "
            "Unit=\"NM\" />\r\n");
  TGXML_Document doc;
  TGlobeFont back;
  back.LoadEnvironment(Parse(doc, "<A Style=\"26\" />"));  // 16 + 8 + 2: only 8 and 2 are styles
  EXPECT_EQ(back.FontStyle(), (TFontStyles{fsItalic, fsStrikeOut}));
  font.SetFontName("Arial");
  const std::string bytes = Bytes({0, 0, 0xFF, 0, 2, 12, 0, 0x3E, 0xFE, 5, 5, 'A', 'r', 'i', 'a', 'l'});
  ExpectStreamRoundTrip(font, bytes);
  EXPECT_EQ(StreamOf(font, 0x0300), bytes);  // the same form in every version
  TGlobeFont cut;
  ReadFrom(cut, StreamOf(TGlobeFont(std::string(300, 'n'), 9, TGlobeUnitTypes::Pixel, clBlack)));
  EXPECT_EQ(cut.FontName(), std::string(255, 'n'));
}

struct AttributeDrawing : testing::RecordingCanvasFixture {
  const platform::DrawingState& Selected() const { return window.State(); }
};

TEST_F(AttributeDrawing, BrushStylesMakeSolidHollowHatchedAndPatternBrushes) {
  const struct {
    TGlobeBrushStyle Style;
    BrushKind Kind;
    platform::HatchStyle Hatch;
    const char* Pattern;  // "BRUSH_" + the style's ordinal
  } table[] = {
      {bsSolid, BrushKind::Solid, {}, nullptr},
      {bsClear, BrushKind::Hollow, {}, nullptr},
      {bsDiagCross, BrushKind::Hatched, platform::HatchStyle::DiagCross, nullptr},
      {bsPattern50, BrushKind::Pattern, {}, "BRUSH_57"},
  };
  TGlobeBrush brush(clRed, bsSolid);
  for (const auto& row : table) {
    SCOPED_TRACE(int(row.Style));
    brush.SetBrushStyle(row.Style);
    EXPECT_TRUE(brush.Realize(canvas, false));
    EXPECT_EQ(Selected().CurrentBrush.Kind, row.Kind);
    if (row.Kind == BrushKind::Hatched) { EXPECT_EQ(Selected().CurrentBrush.Hatch, row.Hatch); }
    if (row.Pattern) { EXPECT_EQ(Selected().CurrentBrush.Pattern, *platform::FindPatternResource(row.Pattern)); }
  }
  EXPECT_EQ(Selected().CurrentBrush.Color, clRed);
  brush.Realize(canvas, true);
  EXPECT_EQ(Selected().CurrentBrush, (platform::Brush{BrushKind::Solid, clYellow}));
}

TEST_F(AttributeDrawing, PatternBackgroundIsOpaqueOnlyForTwoColours) {
  canvas.SetTintPercent(50);
  canvas.SetTintColor(clSilver);
  TGlobeBrush brush(clBlack, clWhite, bsPattern3);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().Background, BackgroundMode::Opaque);
  EXPECT_EQ(Selected().BackgroundColor, 0xE0E0E0u);  // white tinted: 223.5 -> 224
  EXPECT_EQ(Selected().TextColor, 0x606060u);        // the pattern's 0 bits: black tinted
  brush.SetBrushBkColor(clBlack);
  brush.Realize(canvas, false);
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
  // Other styles never fill a background.
  TGlobeBrush hatch(clBlack, clWhite, bsCross);
  window.SetBackgroundMode(BackgroundMode::Opaque);
  hatch.Realize(canvas, false);
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
}

TEST_F(AttributeDrawing, FontIsMadeFromItsValuesWithinTheTextHeightLimits) {
  TGlobeFont font("Times", 12, TGlobeUnitTypes::Pixel, clBlue);
  font.SetFontAngle(450);
  font.SetFontStyle({fsBold, fsUnderline});
  window.SetTextAlign({platform::HorizontalAlign::Right, platform::VerticalAlign::Bottom});
  EXPECT_TRUE(font.Realize(canvas, false));
  const platform::Font& made = Selected().CurrentFont;
  EXPECT_EQ(std::tuple(made.Name, made.Height, made.Escapement, made.Weight, made.Underline, made.Italic),
            std::tuple("Times", 12, 450, 700, true, false));
  EXPECT_EQ(Selected().TextColor, clBlue);
  EXPECT_EQ(Selected().Align, (platform::TextAlign{}));  // left / top
  EXPECT_EQ(Selected().Background, BackgroundMode::Transparent);
  font.Realize(canvas, true);
  EXPECT_EQ(Selected().TextColor, view.SelectionPen.Color);
  TGlobeFont tiny("Arial", 3, TGlobeUnitTypes::Pixel, clBlack);
  EXPECT_FALSE(tiny.Realize(canvas, false));  // below MinTextHeight 5: no text
  view.MinText = 3;
  tiny.SetFontSize(4);
  EXPECT_TRUE(tiny.Realize(canvas, false));
  font.SetFontSize(20);
  view.MaxText = 12;
  font.Realize(canvas, false);
  EXPECT_EQ(Selected().CurrentFont.Height, 12);
  EXPECT_EQ(font.PixelHeight(canvas), 20);
  // A map unit font follows the zoom: 1 NM = 90,000 GlobeUnit = 9 pixels at 1e-4.
  view.MaxText = 0;
  TGlobeFont mapFont("Arial", 1, TGlobeUnitTypes::NauticalMile, clBlack);
  for (auto [scale, height] : {std::pair{1e-4L, 9}, {2e-4L, 18}}) {
    view.P().SetScaleFactor(scale);
    mapFont.Realize(canvas, false);
    EXPECT_EQ(Selected().CurrentFont.Height, height);
  }
  view.P().SetScaleFactor(2e-5L);  // 1.8 pixels: too small
  EXPECT_FALSE(mapFont.Realize(canvas, false));
}

}  // namespace
}  // namespace globe
