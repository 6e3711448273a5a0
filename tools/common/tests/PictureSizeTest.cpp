#include <gtest/gtest.h>

#include "tools/common/PictureSize.h"

namespace toolcli {
namespace {

TEST(PictureSizeTest, WidthByHeightWithinTheLimit) {
  const auto size = ParsePictureSize("100x60", 100);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(std::make_pair(size->Width, size->Height), std::make_pair(100, 60));
  for (const char* refused : {"101x100" /* past the limit */, "0x10", "10x", "x10", "+10x10", "10x10x10", "10 x10",
                              "99999999999x1", ""})
    EXPECT_FALSE(ParsePictureSize(refused, 100).has_value()) << refused;
}

}  // namespace
}  // namespace toolcli
