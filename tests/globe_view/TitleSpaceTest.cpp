// Room for titles: the boxes texts cover, and titles that would overlap one already written
// left out, by priority.
#include <gtest/gtest.h>

#include "globe/view/TitleSpace.h"
#include "platform/testing/RecordingDrawingSurface.h"

namespace globe {
namespace {

using platform::HorizontalAlign;
using platform::TRect;
using platform::VerticalAlign;

TEST(TextBoxTest, AlignmentPlacesTheBoxAroundThePoint) {
  const struct {
    HorizontalAlign h;
    VerticalAlign v;
    TRect box;
  } table[] = {
      {HorizontalAlign::Left, VerticalAlign::Top, {100, 50, 140, 60}},
      {HorizontalAlign::Center, VerticalAlign::Top, {80, 50, 120, 60}},
      {HorizontalAlign::Right, VerticalAlign::Bottom, {60, 40, 100, 50}},
      {HorizontalAlign::Left, VerticalAlign::Baseline, {100, 42, 140, 52}},
  };
  for (const auto& row : table) EXPECT_EQ(TextBox(100, 50, {40, 10}, {row.h, row.v}), row.box);
}

TEST(TitleSpaceTest, OverlappingBoxesAreRefusedTouchingOnesTaken) {
  TTitleSpace space;
  EXPECT_TRUE(space.Take({0, 0, 50, 10}));
  EXPECT_FALSE(space.Take({49, 9, 60, 20}));   // one pixel in common
  EXPECT_TRUE(space.Take({50, 0, 90, 10}));    // right beside it
  EXPECT_TRUE(space.Take({0, 10, 50, 20}));    // right below it
  EXPECT_FALSE(space.Take({10, 2, 20, 8}));    // inside
  EXPECT_FALSE(space.Take({-10, -10, 100, 100}));  // round everything
  EXPECT_EQ(space.Taken().size(), 3u);
  space.Clear();
  EXPECT_TRUE(space.Take({10, 2, 20, 8}));
}

TEST(TitleSpaceTest, QueuedTitlesAreWrittenByPriorityThoseWithoutRoomLeftOut) {
  platform::testing::RecordingDrawingSurface surface;  // 5 x 10 pixels a character at height 10
  platform::DrawingState state;
  state.CurrentFont.Height = 10;
  state.Align = {HorizontalAlign::Left, VerticalAlign::Top};
  TTitleSpace space;
  ASSERT_TRUE(space.Take({200, 200, 240, 210}));  // an arrival time written before
  space.Queue(3, 0, 0, "zone", state);            // under "force": left out
  space.Queue(2, 100, 100, "base", state);
  space.Queue(1, 10, 5, "force", state);
  space.Queue(2, 210, 205, "hidden", state);      // under the arrival time
  space.Queue(2, 300, 300, "alone", state);
  space.Flush(surface);
  std::vector<std::string> written;
  for (const auto& call : surface.Calls(platform::testing::DrawOp::TextOut)) written.push_back(call.Text);
  EXPECT_EQ(written, (std::vector<std::string>{"force", "base", "alone"}));
  EXPECT_EQ(space.QueuedCount(), 0u);
}

}  // namespace
}  // namespace globe
