#include <gtest/gtest.h>

#include "tools/common/PictureSize.h"

namespace toolcli {
namespace {

TEST(PictureSizeTest, WidthByHeightWithinTheLimit) {
  struct TCase {
    std::string Text;
    bool Valid;
    int Width, Height;
  };
  for (const TCase& c : std::vector<TCase>{{"80x60", true, 80, 60},
                                           {"1x1", true, 1, 1},
                                           {"100x100", true, 100, 100},
                                           {"101x100", false, 0, 0},  // past the limit of 100
                                           {"0x10", false, 0, 0},
                                           {"10x", false, 0, 0},
                                           {"x10", false, 0, 0},
                                           {"10", false, 0, 0},
                                           {"+10x10", false, 0, 0},
                                           {"-10x10", false, 0, 0},
                                           {"10x10x10", false, 0, 0},
                                           {"10 x10", false, 0, 0},
                                           {"99999999999x1", false, 0, 0},
                                           {"", false, 0, 0}}) {
    const auto size = ParsePictureSize(c.Text, 100);
    ASSERT_EQ(size.has_value(), c.Valid) << c.Text;
    if (size) {
      EXPECT_EQ(size->Width, c.Width) << c.Text;
      EXPECT_EQ(size->Height, c.Height) << c.Text;
    }
  }
}

}  // namespace
}  // namespace toolcli
