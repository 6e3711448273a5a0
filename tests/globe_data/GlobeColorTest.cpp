#include <gtest/gtest.h>

#include "globe/data/GlobeColor.h"
#include "platform/ConvertError.h"

namespace globe {
namespace {

TEST(GlobeColorTest, StandardColoursByName) {
  EXPECT_EQ(ColorToString(0x0000FF), "clRed");
  EXPECT_EQ(ColorToString(0xFF0000), "clBlue");
  EXPECT_EQ(ColorToString(0xC0C0C0), "clSilver");
  EXPECT_EQ(ColorToString(0x000000), "clBlack");
  EXPECT_EQ(ColorToString(clNone), "clNone");
  EXPECT_EQ(ColorToString(0x8000000F), "clBtnFace");
  EXPECT_EQ(StringToColor("clRed"), 0x0000FFu);
  EXPECT_EQ(StringToColor("CLWHITE"), 0xFFFFFFu);
  EXPECT_EQ(StringToColor(" clNavy "), 0x800000u);
}

TEST(GlobeColorTest, OtherColoursAsHexadecimal) {
  // Red in the lowest byte: red 0x12, green 0x34, blue 0x56.
  EXPECT_EQ(ColorToString(platform::MakeColor(0x12, 0x34, 0x56)), "$00563412");
  EXPECT_EQ(ColorToString(0xFFFFFFFF), "$FFFFFFFF");
  EXPECT_EQ(ColorToString(1), "$00000001");
  EXPECT_EQ(StringToColor("$00563412"), 0x563412u);
  EXPECT_EQ(StringToColor("$00abcdef"), 0xABCDEFu);
  EXPECT_EQ(StringToColor("$FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(StringToColor("0xFF"), 0xFFu);
  EXPECT_EQ(StringToColor("255"), 0xFFu);
  for (const char* bad : {"", "clRedd", "$", "$1234567890", "red", "#FF0000"})
    EXPECT_THROW(StringToColor(bad), platform::EConvertError) << bad;
}

TEST(GlobeColorTest, EveryTextFormReadsBack) {
  for (TColor c : {0x000000u, 0x000080u, 0xA4A0A0u, 0xF0FBFFu, 0x123456u, 0x80000018u,
                   0x20000000u, 0x7FFFFFFFu, 0x01020304u})
    EXPECT_EQ(StringToColor(ColorToString(c)), c) << ColorToString(c);
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
