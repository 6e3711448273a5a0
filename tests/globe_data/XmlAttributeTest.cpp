#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>

#include "globe/data/FloatText.h"
#include "platform/ConvertError.h"
#include "globe/data/XmlElement.h"
#include "tests/support/ThrownMessage.h"

namespace globe {
namespace {

using corvalis::testing::ThrownMessage;

TEST(XmlAttributeTest, ElementFindsTheNthChildOfThatTag) {
  TGXML_Element e;
  e.AddElement("Layer")->AddAttribute("Name", "a");
  e.AddElement("Presenters");
  e.AddElement("Layer")->AddAttribute("Name", "b");
  e.AddAttribute("Layer", "not a child");
  e.AddElement("Layer")->AddAttribute("Name", "c");
  ASSERT_NE(e.Element("Layer", 2), nullptr);
  EXPECT_EQ(e.Element("Layer", 2)->Attribute("Name"), "c");
  EXPECT_EQ(e.Element("Layer")->Attribute("Name"), "a");
  EXPECT_EQ(e.Element("Layer", 3), nullptr);
  EXPECT_EQ(e.Element("Layer", -1), nullptr);
  EXPECT_EQ(e.Element("layer"), nullptr);  // tags compare exactly
}

TEST(XmlAttributeTest, TextAttributes) {
  TGXML_Element e;
  e.AddAttribute("Name", "first");
  e.AddAttribute("Name", "second");
  e.AddAttribute("Empty", "");
  EXPECT_EQ(e.Attribute("Name", "def"), "first");
  EXPECT_EQ(e.Attribute("Empty", "def"), "def");
  EXPECT_EQ(e.Attribute("Missing", "def"), "def");
  EXPECT_EQ(e.Attribute("name", "def"), "def");
  EXPECT_TRUE(e.HasAttribute("Empty"));
  EXPECT_FALSE(e.HasAttribute("Missing"));
}

TEST(XmlAttributeTest, Booleans) {
  TGXML_Element e;
  e.AddAttribute("On", true);
  e.AddAttribute("Off", false);
  e.AddAttribute("Lower", "t");
  e.AddAttribute("Yes", "Yes");
  EXPECT_EQ(e.Line(0).Value, "T");
  EXPECT_EQ(e.Line(1).Value, "F");
  for (bool def : {false, true}) {
    EXPECT_TRUE(e.Attribute("On", def));
    EXPECT_FALSE(e.Attribute("Off", def));
    EXPECT_EQ(e.Attribute("Lower", def), def);
    EXPECT_EQ(e.Attribute("Yes", def), def);
    EXPECT_EQ(e.Attribute("Missing", def), def);
  }
}

TEST(XmlAttributeTest, Integers) {
  TGXML_Element e;
  e.AddAttribute("Min", int32_t{-2147483647 - 1});
  e.AddAttribute("Max", int32_t{2147483647});
  e.AddAttribute("Blank", " 12 ");
  e.AddAttribute("Word", "abc");
  e.AddAttribute("Tail", "12x");
  e.AddAttribute("Big", "2147483648");
  e.AddAttribute("Real", "1.5");
  EXPECT_EQ(e.Line(0).Value, "-2147483648");
  EXPECT_EQ(e.Attribute("Min", int32_t{0}), -2147483647 - 1);
  EXPECT_EQ(e.Attribute("Max", int32_t{0}), 2147483647);
  EXPECT_EQ(e.Attribute("Blank", int32_t{0}), 12);
  EXPECT_EQ(e.Attribute("Missing", int32_t{7}), 7);
  EXPECT_EQ(ThrownMessage<platform::EConvertError>([&] { e.Attribute("Word", int32_t{0}); }),
            "'abc' is not a valid integer value");
  EXPECT_THROW(e.Attribute("Tail", int32_t{0}), platform::EConvertError);
  EXPECT_THROW(e.Attribute("Big", int32_t{0}), platform::EConvertError);
  EXPECT_THROW(e.Attribute("Real", int32_t{0}), platform::EConvertError);
}

TEST(XmlAttributeTest, FloatTextForms) {
  EXPECT_EQ(FloatToText(0.0L), "0");
  EXPECT_EQ(FloatToText(1.5L), "1.5");
  EXPECT_EQ(FloatToText(-2.25L), "-2.25");
  EXPECT_EQ(FloatToText(100.0L), "100");
  EXPECT_EQ(FloatToText(0.1L), "0.1");
  EXPECT_EQ(FloatToText(0.00001L), "0.00001");
  EXPECT_EQ(FloatToText(0.000001L), "1E-6");
  EXPECT_EQ(FloatToText(1e20L), "1E20");
  EXPECT_EQ(FloatToText(2.5e-7L), "2.5E-7");
  EXPECT_EQ(FloatToText(123456789012345.0L), "123456789012345");
  EXPECT_EQ(FloatToText(1234567890123456.0L), "1.23456789012346E15");
  EXPECT_EQ(FloatToText(1.0L / 3.0L), "0.333333333333333");
  EXPECT_EQ(FloatToText(INFINITY), "INF");

  EXPECT_EQ(TextToFloat("1E20"), 1e20L);
  EXPECT_EQ(TextToFloat(" -0.5 "), -0.5L);
  EXPECT_EQ(TextToFloat("+3"), 3.0L);
  EXPECT_TRUE(std::isinf(TextToFloat("-INF")));
  for (const char* bad : {"1,5", "", "abc", "1.5.2", "--1", "1e99999", "0x10", " . "})
    EXPECT_THROW(TextToFloat(bad), platform::EConvertError) << bad;
}

TEST(XmlAttributeTest, FloatsUseAPointWhateverTheLocale) {
  // A global C++ locale with a decimal comma must not leak into the file text.
  struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale old = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  // And the C library's numeric locale, when one with a comma is installed here.
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

TEST(XmlAttributeTest, FloatTextRoundTripsFifteenDigits) {
  for (long double v : {3.14159265358979L, -1e-300L, 6378137.0L, 0.0174532925199433L, 1e300L}) {
    const std::string text = FloatToText(v);
    EXPECT_EQ(FloatToText(TextToFloat(text)), text);
    EXPECT_NEAR(static_cast<double>(TextToFloat(text) / v), 1.0, 1e-14) << text;
  }
}

}  // namespace
}  // namespace globe
