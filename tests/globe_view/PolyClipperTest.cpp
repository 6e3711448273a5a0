// Outlines cut at the window's edges for drawing: where the crossings land, how they round, and
// that output stays in its buffers and within 32 bits.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "globe/view/PolyClipper.h"

namespace globe {
namespace {

using platform::TPoint;
using Points = std::vector<TPoint>;

constexpr uint16_t kClosed = ClipClosedBit;

// Runs the clipper on a copy of `input` in buffers of `capacity` points, in a 100 x 100 window.
Points Clip(const Points& input, uint16_t state, int32_t margin, int32_t capacity = 64) {
  Points buffer(static_cast<std::size_t>(capacity)), work(static_cast<std::size_t>(capacity));
  std::copy(input.begin(), input.end(), buffer.begin());
  const int32_t n = ClipDevicePoints(buffer.data(), static_cast<int32_t>(input.size()), work.data(), capacity,
                                     state, TClipWindow{100, 100, margin});
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

TEST(PolyClipper, OutlinesAreCutAtTheEnabledEdgesOnly) {
  const Points square = {{-10, 10}, {10, 10}, {10, 20}, {-10, 20}};
  const Points outside = {{-500, -500}, {900, 20}, {30, 4000}};
  const struct {
    Points In;
    uint16_t State;
    int32_t Margin;
    Points Out;
  } table[] = {
      {outside, 0, 3, outside},  // without clip bits nothing is cut
      {square, ClipEdgeBits | kClosed, 3, {{-3, 10}, {10, 10}, {10, 20}, {-3, 20}}},
      {square, ClipTopBit | ClipRightBit | kClosed, 3, square},
      // Right edge at 100 + 5: y = 50 + 20 × 55 / 100 = 61.
      {{{50, 50}, {150, 70}}, ClipRightBit, 5, {{50, 50}, {105, 61}}},
      // Left edge at 0: y = 5 × (0 - 10) / (-10 - 10) = 2.5, rounded away from zero to 3.
      {{{10, 0}, {-10, 5}}, ClipLeftBit, 0, {{10, 0}, {0, 3}}},
      // Bottom edge at 100 + 1: x = 0 + 30 × 91 / 100 = 27.3 -> 27.
      {{{0, 10}, {30, 110}}, ClipBottomBit, 1, {{0, 10}, {27, 101}}},
      // Out through the top at x = 10 + 10 × 12 / 30 = 14, back in at x = 20 + 10 × 18 / 30 = 26,
      // both on y = -2; no closing segment is added.
      {{{10, 10}, {20, -20}, {30, 10}}, ClipEdgeBits, 2, {{10, 10}, {14, -2}, {26, -2}, {30, 10}}},
      // Wholly beyond an edge: nothing.
      {{{10, -50}, {90, -50}, {50, -10}}, ClipEdgeBits | kClosed, 2, {}},
      {{{200, 10}, {300, 90}}, ClipRightBit, 0, {}},
      // Over the top-left corner: the top pass gives (20,0) and (-7,0) (10 - 20 × 50 / 60 = -6.67),
      // then the left pass cuts (10,50)-(-7,0) at y = 50 - 500/17 = 21 and (-7,0)-(20,0) at (0,0).
      {{{-10, -10}, {50, 10}, {10, 50}}, ClipEdgeBits | kClosed, 0, {{20, 0}, {50, 10}, {10, 50}, {0, 21}, {0, 0}}},
  };
  for (const auto& row : table) EXPECT_EQ(Clip(row.In, row.State, row.Margin), row.Out) << &row - table;
}

TEST(PolyClipper, OutputStaysInTheBuffersAndWithin32Bits) {
  Points zigzag;
  for (int i = 0; i < 16; ++i) zigzag.push_back({i * 5, i % 2 == 0 ? 10 : -10});
  const Points clipped = Clip(zigzag, ClipEdgeBits, 1, 16);
  EXPECT_EQ(clipped.size(), 16u);
  EXPECT_EQ(clipped.front(), (TPoint{0, 10}));
  // A count larger than the buffer is cut to the buffer.
  Points buffer(4, TPoint{1, 1}), work(4);
  EXPECT_EQ(ClipDevicePoints(buffer.data(), 1000, work.data(), 4, 0, TClipWindow{100, 100, 0}), 4);
  EXPECT_EQ(ClipDevicePoints(buffer.data(), -5, work.data(), 4, ClipEdgeBits, TClipWindow{}), 0);
  // Crossings of segments spanning the whole 32-bit range are computed without wrapping: they
  // end near the margin lines, not on the far side of the plane.
  const Points far = Clip({{50, 50}, {INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}}, ClipEdgeBits | kClosed, 1000000);
  ASSERT_GE(far.size(), 3u);
  EXPECT_EQ(far.front(), (TPoint{50, 50}));
  for (const TPoint& p : far) {
    EXPECT_LE(std::abs(p.X - 50), 1100050);
    EXPECT_LE(std::abs(p.Y - 50), 1100050);
  }
}

}  // namespace
}  // namespace globe
