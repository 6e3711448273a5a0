// Attribute values of the environment elements: children, texts, booleans, integers, floats in
// the file's text form whatever the locale, and colours by name or in hexadecimal.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>

#include "globe/data/FloatText.h"
#include "globe/data/GlobeColor.h"
#include "globe/data/XmlElement.h"
#include "platform/ConvertError.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

TEST(XmlAttributeTest, ElementFindsTheNthChildOfThatTagAndTheFirstTextAttribute) {
  TGXML_Element e;
  e.AddElement("Layer")->AddAttribute("Name", "a");
  e.AddElement("Presenters");
  e.AddAttribute("Layer", "not a child");
  e.AddElement("Layer")->AddAttribute("Name", "c");
  EXPECT_EQ(e.Element("Layer", 1)->Attribute("Name"), "c");
  EXPECT_EQ(e.Element("Layer")->Attribute("Name"), "a");
  EXPECT_EQ(e.Element("Layer", 2), nullptr);
  EXPECT_EQ(e.Element("Layer", -1), nullptr);
  EXPECT_EQ(e.Element("layer"), nullptr);  // tags compare exactly
  e.AddAttribute("Name", "first");
  e.AddAttribute("Name", "second");
  e.AddAttribute("Empty", "");
  EXPECT_EQ(e.Attribute("Name", "def"), "first");
  EXPECT_EQ(e.Attribute("Empty", "def"), "def");
  EXPECT_EQ(e.Attribute("name", "def"), "def");
  EXPECT_TRUE(e.HasAttribute("Empty"));
  EXPECT_FALSE(e.HasAttribute("Missing"));
}

TEST(XmlAttributeTest, BooleansAndIntegers) {
  TGXML_Element e;
  e.AddAttribute("On", true);
  e.AddAttribute("Off", false);
  e.AddAttribute("Lower", "t");
  e.AddAttribute("Min", int32_t{-2147483647 - 1});
  e.AddAttribute("Blank", " 12 ");
  e.AddAttribute("Word", "abc");
  EXPECT_EQ(e.Line(0).Value + e.Line(1).Value + e.Line(3).Value, "TF-2147483648");
  for (bool def : {false, true}) {
    EXPECT_TRUE(e.Attribute("On", def));
    EXPECT_FALSE(e.Attribute("Off", def));
    EXPECT_EQ(e.Attribute("Lower", def), def);  // only "T" and "F"
    EXPECT_EQ(e.Attribute("Missing", def), def);
  }
  EXPECT_EQ(e.Attribute("Min", int32_t{0}), -2147483647 - 1);
  EXPECT_EQ(e.Attribute("Blank", int32_t{0}), 12);
  EXPECT_EQ(e.Attribute("Missing", int32_t{7}), 7);
  EXPECT_EQ(ThrownMessage<platform::EConvertError>([&] { e.Attribute("Word", int32_t{0}); }),
            "'abc' is not a valid integer value");
  for (const char* bad : {"12x", "2147483648", "1.5"}) {
    e.AddAttribute(bad, bad);
    EXPECT_THROW(e.Attribute(bad, int32_t{0}), platform::EConvertError) << bad;
  }
}

TEST(XmlAttributeTest, FloatTextFormsRoundTripFifteenDigits) {
  for (auto [value, text] : std::vector<std::pair<long double, std::string>>{
           {0.0L, "0"}, {1.5L, "1.5"}, {-2.25L, "-2.25"}, {100.0L, "100"}, {0.1L, "0.1"}, {0.00001L, "0.00001"},
           {0.000001L, "1E-6"}, {1e20L, "1E20"}, {2.5e-7L, "2.5E-7"}, {123456789012345.0L, "123456789012345"},
           {1234567890123456.0L, "1.23456789012346E15"}, {1.0L / 3.0L, "0.333333333333333"}, {INFINITY, "INF"}})
    EXPECT_EQ(FloatToText(value), text);
  EXPECT_EQ(TextToFloat(" -0.5 "), -0.5L);
  EXPECT_EQ(TextToFloat("+3"), 3.0L);
  EXPECT_TRUE(std::isinf(TextToFloat("-INF")));
  for (const char* bad : {"1,5", "", "abc", "1.5.2", "--1", "1e99999", "0x10", " . "})
    EXPECT_THROW(TextToFloat(bad), platform::EConvertError) << bad;
  for (long double v : {3.14159265358979L, -1e-300L, 6378137.0L, 0.0174532925199433L, 1e300L}) {
    const std::string text = FloatToText(v);
    EXPECT_EQ(FloatToText(TextToFloat(text)), text);
    EXPECT_NEAR(static_cast<double>(TextToFloat(text) / v), 1.0, 1e-14) << text;
  }
}

TEST(XmlAttributeTest, FloatsUseAPointWhateverTheLocale) {
  // A global C++ locale with a decimal comma must not leak into the file text, nor the C
  // library's numeric locale when one with a comma is installed here.
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale old = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  const std::string oldC = std::setlocale(LC_NUMERIC, nullptr);
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  TGXML_Element e;
  e.AddAttribute("Scale", 1234.5);
  e.AddAttribute("Comma", "1,5");
  EXPECT_EQ(e.Attribute("Scale"), "1234.5");
  EXPECT_EQ(e.Attribute("Scale", 0.0), 1234.5);
  EXPECT_EQ(e.Attribute("Missing", 2.5L), 2.5L);
  EXPECT_THROW(e.Attribute("Comma", 0.0), platform::EConvertError);
  std::setlocale(LC_NUMERIC, oldC.c_str());
  std::locale::global(old);
}

TEST(GlobeColorTest, StandardColoursByNameOthersInHexadecimal) {
  // Red in the lowest byte: 0x563412 is red 0x12, green 0x34, blue 0x56.
  for (auto [colour, text] : std::vector<std::pair<TColor, std::string>>{
           {0x0000FF, "clRed"}, {0xFF0000, "clBlue"}, {0xC0C0C0, "clSilver"}, {0x000000, "clBlack"}, {clNone, "clNone"},
           {0x8000000F, "clBtnFace"}, {0x563412, "$00563412"}, {0xFFFFFFFF, "$FFFFFFFF"}, {1, "$00000001"}}) {
    EXPECT_EQ(ColorToString(colour), text);
    EXPECT_EQ(StringToColor(text), colour) << text;
  }
  for (TColor c : {0x000080u, 0xA4A0A0u, 0xF0FBFFu, 0x80000018u, 0x20000000u, 0x7FFFFFFFu, 0x01020304u})
    EXPECT_EQ(StringToColor(ColorToString(c)), c) << ColorToString(c);
  for (auto [text, colour] : std::vector<std::pair<std::string, TColor>>{
           {"CLWHITE", 0xFFFFFF}, {" clNavy ", 0x800000}, {"$00abcdef", 0xABCDEF}, {"0xFF", 0xFF}, {"255", 0xFF}})
    EXPECT_EQ(StringToColor(text), colour) << text;
  for (const char* bad : {"", "clRedd", "$", "$1234567890", "red", "#FF0000"})
    EXPECT_THROW(StringToColor(bad), platform::EConvertError) << bad;
}

TEST(GlobeColorTest, Attributes) {
  TGXML_Element e;
  AddColorAttribute(e, "SurfaceColor", 0x00A0B0C0);
  AddColorAttribute(e, "Pen", clMaroon);
  e.AddAttribute("Bad", "purple-ish");
  EXPECT_EQ(e.Attribute("SurfaceColor"), "$00A0B0C0");
  EXPECT_EQ(e.Attribute("Pen"), "clMaroon");
  EXPECT_EQ(ColorAttribute(e, "SurfaceColor", clBlack), 0xA0B0C0u);
  EXPECT_EQ(ColorAttribute(e, "Missing", clTeal), clTeal);
  EXPECT_THROW(ColorAttribute(e, "Bad", clBlack), platform::EConvertError);
}

}  // namespace
}  // namespace globe
