// The world's land drawn by the map window as the editor hosts it, at the screen's device pixel
// ratio (this program runs once plainly and once more with QT_SCALE_FACTOR=2): ratio x ratio
// times the pixels of a plain picture, land and sea where the projection puts them in both, and
// the coast drawn at the device's resolution, not with doubled pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <memory>
#include <string>
#include <tuple>

#include "globe/data/GeoMath.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/Bitmap24.h"
#include "platform/qt/QtDrawingSurface.h"
#include "platform/qt/QtViewWidget.h"
#include "tests/globe_view/qt/LandEnvironment.h"

namespace globe {
namespace {

constexpr TColor kLand = 0xB8E0E8;  // the land brush
constexpr TColor kSea = 0xF0DCB4;   // the globe's surface
constexpr int kWidth = 360;         // the window in widget pixels
constexpr int kHeight = 240;

// The central Mediterranean, Sicily to Greece, with no graticule over it, at `ratio` device
// pixels a pixel (the projection's scale is in device pixels).
void ShowMediterranean(TVoduz4& view, const std::string& environment, qreal ratio) {
  view.SetSaveMetaDataLocation(smdDiscard);
  view.SetEnvironmentFile(environment);
  view.SetGraticuleDrawMode(gdNone);
  TGlobeProjection& p = view.Projection();
  p.SetCenterLatitude(37.5);
  p.SetCenterLongitude(18);
  p.SetAltitude(100'000);
  p.SetScaleFactor(p.ScaleFactor() * static_cast<long double>(ratio));
}

platform::TPoint Project(TVoduz4& view, long double lat, long double lon) {
  platform::TPoint xy{};
  EXPECT_TRUE(view.Projection().LLToDeviceXY(RoundToInt(lon * 5'400'000), RoundToInt(lat * 5'400'000), xy));
  return xy;
}

TColor PixelOf(const QImage& image, platform::TPoint xy) {
  const QRgb c = image.pixel(xy.X, xy.Y);
  return static_cast<TColor>(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16);
}

TEST(DevicePixelPicture, CoastWhereTheProjectionPutsIt) {
  const std::string environment = LandEnvironment("density_land.env");
  // The editor's way: the view hosted by the map window, the window's own picture grabbed.
  QWidget parent;
  parent.resize(kWidth + 40, kHeight + 40);
  auto* widget = new platform::QtViewWidget(&parent);
  widget->resize(kWidth, kHeight);
  TVoduz4 hosted;
  hosted.SetScrollBars(ssNone);  // the whole window is map
  widget->SetEventSink(&hosted);
  // The window forgets the view before the view goes, however the test ends.
  const std::unique_ptr<platform::QtViewWidget, void (*)(platform::QtViewWidget*)> unhook(
      widget, [](platform::QtViewWidget* w) { w->SetEventSink(nullptr); });
  hosted.SetHost(widget);
  parent.show();
  QApplication::processEvents();
  const qreal ratio = widget->PixelRatio();
  if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") {
    EXPECT_EQ(ratio, 2.0);
  }
  ShowMediterranean(hosted, environment, ratio);
  const QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  shown.save(QString::fromStdString(::testing::TempDir() + "density_" + std::to_string(int(ratio)) + ".png"));
  // The same map at one device pixel a pixel.
  TVoduz4 plain;
  plain.SetClientSize(kWidth, kHeight);
  ShowMediterranean(plain, environment, 1);
  platform::Bitmap24 plainBits(kWidth, kHeight);
  {
    platform::QtDrawingSurface surface(plainBits);
    plain.Paint(surface);
  }
  QImage plainImage(plainBits.Bits(), kWidth, kHeight, plainBits.Stride(), QImage::Format_BGR888);
  ASSERT_EQ(shown.size(), QSize(static_cast<int>(std::lround(kWidth * ratio)), static_cast<int>(std::lround(kHeight * ratio))));
  EXPECT_EQ(hosted.ClientWidth(), shown.width());
  // Places well inland (Calabria, Sicily, the Pindus) or well out at sea (Ionian Sea, off Malta,
  // Gulf of Taranto), in the same place at both ratios.
  for (const auto& [lat, lon, land] : {std::tuple{39.1L, 16.4L, true}, {37.5L, 14.2L, true}, {39.0L, 21.5L, true},
                                       {37.0L, 19.0L, false}, {35.5L, 15.5L, false}, {39.6L, 17.6L, false}}) {
    const platform::TPoint atRatio = Project(hosted, lat, lon), atOne = Project(plain, lat, lon);
    ASSERT_TRUE(shown.rect().contains(atRatio.X, atRatio.Y)) << atRatio.X << ',' << atRatio.Y;
    EXPECT_NEAR(atRatio.X, atOne.X * ratio, ratio);
    EXPECT_NEAR(atRatio.Y, atOne.Y * ratio, ratio);
    EXPECT_EQ(std::pair(PixelOf(shown, atRatio), PixelOf(plainImage, atOne)), std::pair(land ? kLand : kSea, land ? kLand : kSea)) << lat << " " << lon;
  }
  // Drawn at the device's resolution: land and sea meet between an even column and the odd
  // one after it as often as anywhere, which a pixel-doubled picture never does.
  int evenToOdd = 0, oddToEven = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x + 1 < shown.width(); ++x) {
      const bool here = PixelOf(shown, {x, y}) == kSea;
      const bool next = PixelOf(shown, {x + 1, y}) == kSea;
      if (here != next) ++(x % 2 == 0 ? evenToOdd : oddToEven);
    }
  EXPECT_GT(oddToEven, 100);
  EXPECT_GT(evenToOdd, oddToEven / 4) << "the coast is pixel-doubled";
}

}  // namespace
}  // namespace globe
