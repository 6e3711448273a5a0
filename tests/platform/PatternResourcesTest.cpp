#include "platform/PatternResources.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(PatternResources, AllFiftyTwoBitmapsAreFound) {
  for (int n = 8; n <= 59; ++n) {
    EXPECT_TRUE(FindPatternResource("BRUSH_" + std::to_string(n)).has_value()) << n;
  }
  // First and last rows of the first and last bitmaps.
  EXPECT_EQ(FindPatternResource("BRUSH_8")->front(), 0x7F);
  EXPECT_EQ(FindPatternResource("BRUSH_59")->back(), 0xBB);
  // Diagonal bitmap: the 0 bit walks from right to left one column per row.
  const PatternBits diagonal = *FindPatternResource("BRUSH_19");
  for (int row = 0; row < 8; ++row) EXPECT_EQ(diagonal[row], static_cast<uint8_t>(~(1u << row)));
}

TEST(PatternResources, OtherNamesAreMissing) {
  for (const char* name : {"BRUSH_7", "BRUSH_60", "BRUSH_08", "brush_8", "BRUSH_", "BRUSH_8x",
                           "BRUSH_-8", "BRUSH_+8", "BRUSH_999999999999", "", "PATTERN_8"}) {
    EXPECT_FALSE(FindPatternResource(name).has_value()) << name;
  }
}

}  // namespace
}  // namespace platform
