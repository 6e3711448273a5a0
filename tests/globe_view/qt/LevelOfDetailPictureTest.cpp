// The world map's land (Natural Earth 10m, 409,000 points) drawn with and without levels of
// detail: the close-ups (the Mediterranean, a coast) are the same to the byte, the whole globe
// differs in at most half a per cent of its pixels.

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "tests/globe_view/qt/LandEnvironment.h"
#include "tools/maprender/MapRender.h"

namespace globe {
namespace {

platform::Bitmap24 Render(maprender::TMapRenderOptions options, bool fullDetail) {
  static const std::string environment = LandEnvironment("lod_land.env");
  options.EnvironmentFile = environment;
  options.Width = 1000;
  options.Height = 700;
  options.FullDetail = fullDetail;
  maprender::TRenderResult result = maprender::RenderMap(options);
  EXPECT_EQ(result.Error, "");
  EXPECT_TRUE(result.MissingFiles.empty());
  return std::move(result.Bitmap);
}

int64_t DifferentPixels(const platform::Bitmap24& a, const platform::Bitmap24& b) {
  int64_t count = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) count += a.Pixel(x, y) != b.Pixel(x, y);
  return count;
}

TEST(LevelOfDetailPictureTest, CloseUpsAreByteIdentical) {
  // Gibraltar to the Levant, and 20 km of the Amalfi coast (the long chains walked in blocks).
  struct TCloseUp {
    long double Latitude, Longitude;
    int32_t Altitude;
  };
  for (const TCloseUp view : {TCloseUp{38, 17, 155'000}, TCloseUp{40.63L, 14.6L, 815}}) {
    maprender::TMapRenderOptions options;
    options.CenterLatitude = view.Latitude;
    options.CenterLongitude = view.Longitude;
    options.Altitude = view.Altitude;
    const platform::Bitmap24 levels = Render(options, false);
    const platform::Bitmap24 full = Render(options, true);
    ASSERT_EQ(levels.Height(), full.Height());
    ASSERT_EQ(levels.Stride(), full.Stride());
    EXPECT_EQ(std::memcmp(levels.Bits(), full.Bits(), static_cast<size_t>(full.Stride()) * full.Height()), 0)
        << "altitude " << view.Altitude;
  }
}

TEST(LevelOfDetailPictureTest, WholeGlobeWithinHalfAPerCentOfThePixels) {
  maprender::TMapRenderOptions options;
  options.CenterLatitude = 23.97L;
  options.CenterLongitude = 13.80L;
  options.Altitude = 0;
  const platform::Bitmap24 levels = Render(options, false);
  const platform::Bitmap24 full = Render(options, true);
  const int64_t different = DifferentPixels(levels, full);
  EXPECT_GT(different, 0);  // the levels are in use
  EXPECT_LE(different * 200, int64_t{full.Width()} * full.Height()) << different << " pixels differ";
}

}  // namespace
}  // namespace globe
