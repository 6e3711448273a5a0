#include <gtest/gtest.h>

#include <string>

#include "globe/data/GlobeException.h"
#include "globe/data/XmlDocument.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "platform/ConvertError.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

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

// ---- pens ----

TEST(GlobePenTest, EnvironmentForm) {
  const TGlobePen pen(clRed, psDash, 3, TGlobeUnitTypes::Kilometer);
  EXPECT_EQ(XmlOf(pen), "<A Color=\"clRed\" Style=\"1\" Width=\"3\" Unit=\"KM\" />\r\n");
  TGXML_Document doc;
  TGlobePen back;
  back.LoadEnvironment(Parse(doc, XmlOf(pen)));
  EXPECT_TRUE(back.Equals(pen));

  // Absent attributes and a null element keep the current values; a bad style is ignored.
  TGlobePen partial(clBlue, psDot, 2, TGlobeUnitTypes::Meter);
  partial.LoadEnvironment(Parse(doc, "<A Width=\"5\" Style=\"7\" />"));
  EXPECT_TRUE(partial.Equals(TGlobePen(clBlue, psDot, 5, TGlobeUnitTypes::Meter)));
  partial.LoadEnvironment(nullptr);
  EXPECT_EQ(partial.PenWidth(), 5);
}

TEST(GlobePenTest, EnvironmentErrors) {
  TGXML_Document doc;
  TGlobePen pen;
  EXPECT_EQ(ThrownMessage<EGlobeException>([&] { pen.LoadEnvironment(Parse(doc, "<A Unit=\"QQ\" />")); }),
            "StrToUnits: Unknown Unit QQ");
  EXPECT_THROW(pen.LoadEnvironment(Parse(doc, "<A Width=\"wide\" />")), platform::EConvertError);
  EXPECT_THROW(pen.LoadEnvironment(Parse(doc, "<A Color=\"reddish\" />")),
               platform::EConvertError);
}

TEST(GlobePenTest, StreamForms) {
  // colour 0x00563412, style psDot (2), width 300 (0x012C), unit Kilometer (3).
  const TGlobePen pen(0x00563412, psDot, 300, TGlobeUnitTypes::Kilometer);
  const std::string current = Bytes({0x12, 0x34, 0x56, 0, 2, 0x2C, 0x01, 0, 0, 3});
  EXPECT_EQ(StreamOf(pen), current);
  TGlobePen back;
  ReadFrom(back, current);
  EXPECT_TRUE(back.Equals(pen));

  // Before version 0x400: the width in one byte and no unit (Pixel).
  const std::string old = Bytes({0x12, 0x34, 0x56, 0, 2, 7});
  TGlobePen fromOld(clBlack, psSolid, 1, TGlobeUnitTypes::Kilometer);
  ReadFrom(fromOld, old, 0x3FF);
  EXPECT_TRUE(fromOld.Equals(TGlobePen(0x00563412, psDot, 7, TGlobeUnitTypes::Pixel)));
  EXPECT_EQ(StreamOf(TGlobePen(0x00563412, psDot, 7), 0x3FF), old);
  EXPECT_EQ(StreamOf(TGlobePen(0x00563412, psDot, 7), 0x400).size(), 10u);
}

TEST(GlobePenTest, BadStreamValues) {
  // A style or unit ordinal outside its range keeps the current value.
  TGlobePen pen(clBlack, psDashDot, 1, TGlobeUnitTypes::Meter);
  ReadFrom(pen, Bytes({0, 0, 0, 0, 99, 4, 0, 0, 0, 200}));
  EXPECT_TRUE(pen.Equals(TGlobePen(clBlack, psDashDot, 4, TGlobeUnitTypes::Meter)));
  // A truncated pen raises and changes nothing.
  TGlobeMemoryStream m(Bytes({1, 0, 0, 0, 1, 9}));
  TGlobeStreamReader r(m);
  EXPECT_THROW(pen.ReadFromStream(r), EGlobeException);
  EXPECT_TRUE(pen.Equals(TGlobePen(clBlack, psDashDot, 4, TGlobeUnitTypes::Meter)));
}

// ---- brushes ----

TEST(GlobeBrushTest, EnvironmentForm) {
  const TGlobeBrush brush(0x00010203, clWhite, bsPattern50);
  EXPECT_EQ(XmlOf(brush), "<A Color=\"$00010203\" BkColor=\"clWhite\" Style=\"57\" />\r\n");
  TGXML_Document doc;
  TGlobeBrush back;
  back.LoadEnvironment(Parse(doc, XmlOf(brush)));
  EXPECT_TRUE(back.Equals(brush));
  back.LoadEnvironment(Parse(doc, "<A Style=\"58\" BkColor=\"$000000ff\" />"));
  EXPECT_EQ(back.BrushStyle(), bsPattern50);
  EXPECT_EQ(back.BrushBkColor(), clRed);
}

TEST(GlobeBrushTest, StreamForms) {
  const TGlobeBrush brush(0x00112233, 0x00445566, bsHorizontal);
  const std::string current = Bytes({0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0, 2});
  EXPECT_EQ(StreamOf(brush), current);
  TGlobeBrush back;
  ReadFrom(back, current);
  EXPECT_TRUE(back.Equals(brush));

  // Before version 0x405: no background colour; it becomes the colour.
  const std::string old = Bytes({0x33, 0x22, 0x11, 0, 9});
  TGlobeBrush fromOld(clBlack, clWhite, bsSolid);
  ReadFrom(fromOld, old, 0x404);
  EXPECT_TRUE(fromOld.Equals(TGlobeBrush(0x00112233, 0x00112233, bsPattern2)));
  EXPECT_EQ(StreamOf(brush, 0x404), Bytes({0x33, 0x22, 0x11, 0, 2}));
}

// ---- fonts ----

TEST(GlobeFontTest, EnvironmentForm) {
  TGlobeFont font("Times New Roman", 12, TGlobeUnitTypes::NauticalMile, clBlue);
  font.SetFontAngle(-450);
  font.SetFontStyle({fsBold, fsUnderline});
  EXPECT_EQ(XmlOf(font),
            "<A Name=\"Times New Roman\" Color=\"clBlue\" Style=\"5\" Size=\"12\" Angle=\"-450\" "
            "Unit=\"NM\" />\r\n");
  TGXML_Document doc;
  TGlobeFont back;
  back.LoadEnvironment(Parse(doc, XmlOf(font)));
  EXPECT_TRUE(back.Equals(font));
  EXPECT_TRUE(back.FontStyle().Contains(fsUnderline));
  EXPECT_FALSE(back.FontStyle().Contains(fsItalic));

  back.LoadEnvironment(Parse(doc, "<A Style=\"26\" />"));  // 16 + 8 + 2: only 8 and 2 are styles
  EXPECT_EQ(back.FontStyle(), (TFontStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(back.FontName(), "Times New Roman");
}

TEST(GlobeFontTest, StreamForm) {
  TGlobeFont font("Arial", 12, TGlobeUnitTypes::NauticalMile, clBlue);
  font.SetFontAngle(-450);  // 0xFE3E as a SmallInt
  font.SetFontStyle({fsBold, fsUnderline});
  const std::string bytes =
      Bytes({0, 0, 0xFF, 0, 2, 12, 0, 0x3E, 0xFE, 5, 5, 'A', 'r', 'i', 'a', 'l'});
  for (int32_t version : {0x0300, GlobeStreamVersion}) {  // the same form in every version
    EXPECT_EQ(StreamOf(font, version), bytes) << version;
    TGlobeFont back("WingDings", 9, TGlobeUnitTypes::Pixel, clBlack);
    ReadFrom(back, bytes, version);
    EXPECT_TRUE(back.Equals(font)) << version;
  }

  TGlobeFont longName(std::string(300, 'n'), 9, TGlobeUnitTypes::Pixel, clBlack);
  TGlobeFont cut;
  ReadFrom(cut, StreamOf(longName));
  EXPECT_EQ(cut.FontName(), std::string(255, 'n'));
}

// ---- common behaviour ----

TEST(GlobeAttributeTest, EqualsAndClone) {
  const TGlobePen pen(clRed, psSolid, 2);
  const TGlobeBrush brush(clRed);
  const TGlobeFont font;
  EXPECT_FALSE(pen.Equals(brush));
  EXPECT_FALSE(brush.Equals(font));
  EXPECT_FALSE(pen.Equals(TGlobePen(clRed, psSolid, 2, TGlobeUnitTypes::Meter)));

  const std::unique_ptr<TGlobeAttribute> copies[] = {pen.Clone(), brush.Clone(), font.Clone()};
  EXPECT_TRUE(copies[0]->Equals(pen));
  EXPECT_TRUE(copies[1]->Equals(brush));
  EXPECT_TRUE(copies[2]->Equals(font));
  EXPECT_EQ(copies[2]->ClassName(), "TGlobeFont");

  std::unique_ptr<TGlobeFont> changed = font.Clone();
  changed->SetFontName("Courier");
  EXPECT_FALSE(changed->Equals(font));
  EXPECT_EQ(font.FontName(), "Arial");
}

TEST(GlobeAttributeTest, SettersReportOnlyRealChanges) {
  struct TCountingPen : TGlobePen {
    int Changes = 0;
    void Changed() override { ++Changes; }
  } pen;
  pen.SetPenWidth(1);  // already 1
  pen.SetPenStyle(static_cast<TPenStyle>(42));
  EXPECT_EQ(pen.Changes, 0);
  pen.SetPenWidth(4);
  pen.SetPenColor(clTeal);
  EXPECT_EQ(pen.Changes, 2);
  TGlobePen other(clTeal, psSolid, 4);
  pen.Assign(other);
  EXPECT_EQ(pen.Changes, 2);
}

TEST(GlobeAttributeTest, ArbitraryBytesEitherReadOrRaise) {
  uint32_t seed = 777;
  for (int n = 0; n < 500; ++n) {
    std::string bytes;
    seed = seed * 1103515245u + 12345u;
    const size_t length = (seed >> 16) % 24;
    for (size_t i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes += static_cast<char>(seed >> 16);
    }
    for (int32_t version : {0x0300, GlobeStreamVersion}) {
      TGlobeMemoryStream m(bytes);
      TGlobeStreamReader r(m);
      r.SetVersion(version);
      TGlobePen pen;
      TGlobeBrush brush;
      TGlobeFont font;
      try {
        pen.ReadFromStream(r);
        brush.ReadFromStream(r);
        font.ReadFromStream(r);
      } catch (const EGlobeException&) {
      }
      EXPECT_LE(pen.PenStyle(), psInsideFrame);
      EXPECT_LE(brush.BrushStyle(), bsPattern50);
      EXPECT_LT(static_cast<int>(font.FontUnit()), GlobeUnitTypeCount);
      EXPECT_LE(m.Position(), m.Size());
    }
  }
}

}  // namespace
}  // namespace globe
