#include "globe/view/PolyClipper.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace globe {
namespace {

using platform::TPoint;
using Points = std::vector<TPoint>;

constexpr uint16_t kClosed = ClipClosedBit;

// Runs the clipper on a copy of `input` in buffers of `capacity` points.
Points Clip(const Points& input, uint16_t state, int32_t margin, int32_t capacity = 64,
            int32_t width = 100, int32_t height = 100) {
  Points buffer(static_cast<std::size_t>(capacity)), work(static_cast<std::size_t>(capacity));
  std::copy(input.begin(), input.end(), buffer.begin());
  const int32_t n = ClipDevicePoints(buffer.data(), static_cast<int32_t>(input.size()), work.data(),
                                     capacity, state, TClipWindow{width, height, margin});
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

TEST(PolyClipper, InsideOrUnclippedOutlinesStayUnchanged) {
  const Points inside = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {50, 50}};
  EXPECT_EQ(Clip(inside, ClipEdgeBits, 3), inside);
  EXPECT_EQ(Clip(inside, ClipEdgeBits | kClosed, 3), inside);
  // Without clip bits nothing is cut, however far out the points lie.
  const Points outside = {{-500, -500}, {900, 20}, {30, 4000}};
  EXPECT_EQ(Clip(outside, 0, 3), outside);
  EXPECT_EQ(Clip(outside, kClosed, 3), outside);
}

TEST(PolyClipper, ClosedShapeCrossingLeftEdgeGetsVerticesOnTheMargin) {
  const Points square = {{-10, 10}, {10, 10}, {10, 20}, {-10, 20}};
  const Points expected = {{-3, 10}, {10, 10}, {10, 20}, {-3, 20}};
  EXPECT_EQ(Clip(square, ClipEdgeBits | kClosed, 3), expected);
  // Only the enabled edges cut: with the left bit off the square is untouched.
  EXPECT_EQ(Clip(square, ClipTopBit | ClipRightBit | kClosed, 3), square);
}

TEST(PolyClipper, CrossingsAreInterpolatedAndRoundedHalfAwayFromZero) {
  // Right edge at 100 + 5: y = 50 + 20 × 55 / 100 = 61.
  EXPECT_EQ(Clip({{50, 50}, {150, 70}}, ClipRightBit, 5), (Points{{50, 50}, {105, 61}}));
  // Left edge at 0: y = 5 × (0 - 10) / (-10 - 10) = 2.5, rounded away from zero to 3.
  EXPECT_EQ(Clip({{10, 0}, {-10, 5}}, ClipLeftBit, 0), (Points{{10, 0}, {0, 3}}));
  // Bottom edge at 100 + 1: x = 0 + 30 × 91 / 100 = 27.3 -> 27.
  EXPECT_EQ(Clip({{0, 10}, {30, 110}}, ClipBottomBit, 1), (Points{{0, 10}, {27, 101}}));
}

TEST(PolyClipper, OpenLineLeavingAndReenteringRunsAlongTheMargin) {
  // Out through the top at x = 10 + 10 × 12 / 30 = 14, back in at x = 20 + 10 × 18 / 30 = 26,
  // both on y = -2; no closing segment is added.
  const Points line = {{10, 10}, {20, -20}, {30, 10}};
  EXPECT_EQ(Clip(line, ClipEdgeBits, 2), (Points{{10, 10}, {14, -2}, {26, -2}, {30, 10}}));
}

TEST(PolyClipper, OutlinesWhollyBeyondAnEdgeVanish) {
  EXPECT_TRUE(Clip({{10, -50}, {90, -50}, {50, -10}}, ClipEdgeBits, 2).empty());
  EXPECT_TRUE(Clip({{10, -50}, {90, -50}, {50, -10}}, ClipEdgeBits | kClosed, 2).empty());
  EXPECT_TRUE(Clip({{200, 10}, {300, 90}}, ClipRightBit, 0).empty());
}

TEST(PolyClipper, EdgesAreCutTopRightBottomLeft) {
  // A triangle over the top-left corner: the top pass gives (20,0) and (-7,0)
  // (10 - 20 × 50 / 60 = -6.67), then the left pass cuts (10,50)-(-7,0) at y = 50 - 500/17 = 21
  // and (-7,0)-(20,0) at (0,0).
  const Points triangle = {{-10, -10}, {50, 10}, {10, 50}};
  const Points expected = {{20, 0}, {50, 10}, {10, 50}, {0, 21}, {0, 0}};
  EXPECT_EQ(Clip(triangle, ClipEdgeBits | kClosed, 0), expected);
}

TEST(PolyClipper, OutputNeverExceedsTheBuffers) {
  Points zigzag;
  for (int i = 0; i < 16; ++i) zigzag.push_back({i * 5, i % 2 == 0 ? 10 : -10});
  const Points clipped = Clip(zigzag, ClipEdgeBits, 1, 16);
  EXPECT_EQ(clipped.size(), 16u);
  EXPECT_EQ(Clip(zigzag, ClipEdgeBits, 1, 16, 100, 100).front(), (TPoint{0, 10}));
  // A count larger than the buffer is cut to the buffer.
  Points buffer(4, TPoint{1, 1}), work(4);
  EXPECT_EQ(ClipDevicePoints(buffer.data(), 1000, work.data(), 4, 0, TClipWindow{100, 100, 0}), 4);
  EXPECT_EQ(ClipDevicePoints(buffer.data(), -5, work.data(), 4, ClipEdgeBits, TClipWindow{}), 0);
}

TEST(PolyClipper, ExtremeCoordinatesStayWithin32Bits) {
  // Crossings of segments spanning the whole 32-bit range are computed without wrapping: they
  // end near the margin lines, not on the far side of the plane.
  const Points far = {{50, 50}, {INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}};
  const Points clipped = Clip(far, ClipEdgeBits | kClosed, 1000000);
  ASSERT_GE(clipped.size(), 3u);
  EXPECT_EQ(clipped.front(), (TPoint{50, 50}));
  for (const TPoint& p : clipped) {
    EXPECT_GE(p.X, -1100000);
    EXPECT_LE(p.X, 1100100);
    EXPECT_GE(p.Y, -1100000);
    EXPECT_LE(p.Y, 1100100);
  }
}

}  // namespace
}  // namespace globe
