#include <gtest/gtest.h>

#include "tools/common/PictureSize.h"

namespace toolcli {
namespace {

TEST(PictureSizeTest, WidthByHeightWithinTheLimit) {
  for (const auto& [text, width, height] : std::vector<std::tuple<std::string, int, int>>{
           {"80x60", 80, 60}, {"1x1", 1, 1}, {"100x100", 100, 100}}) {
    const auto size = ParsePictureSize(text, 100);
    ASSERT_TRUE(size.has_value()) << text;
    EXPECT_EQ(std::make_pair(size->Width, size->Height), std::make_pair(width, height)) << text;
  }
  for (const char* refused : {"101x100" /* past the limit */, "0x10", "10x", "x10", "10", "+10x10", "-10x10",
                              "10x10x10", "10 x10", "99999999999x1", ""})
    EXPECT_FALSE(ParsePictureSize(refused, 100).has_value()) << refused;
}

}  // namespace
}  // namespace toolcli
