#pragma once
// A headless globe view of one land layer (filled polygons, outlined, as the world map draws
// its land) painting into a 24-bit bitmap: what the frame benchmarks and the heap check render.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Bitmap24.h"

namespace globe {
class TVoduz4;
}
namespace platform {
class QtDrawingSurface;
}

namespace bench {

// The close-up views: altitudes (GlobeUnit) and centres.
inline constexpr int32_t kMediterraneanAltitude = 155'000;  // about 24 degrees in 700 pixels
inline constexpr long double kMediterraneanLatitude = 38, kMediterraneanLongitude = 17;
// 20 metres (972 GlobeUnit) a pixel: altitude = 1 / (tan 50 degrees x pixels per GlobeUnit).
inline constexpr int32_t kCoastAltitude = 815;
inline constexpr long double kCoastLatitude = 40.63L, kCoastLongitude = 14.6L;

class TBenchView {
 public:
  // Loads `layerFile` (LYR, SHP or MIF) as the view's only layer; the view keeps at most
  // `cacheKilobytes` of built objects and 3-D points. Raises std::runtime_error when the layer
  // does not load. A QGuiApplication must exist (fonts).
  TBenchView(const std::string& layerFile, int32_t width, int32_t height, int32_t cacheKilobytes = 10240);
  ~TBenchView();

  // The editor's initial centre (23.97 N, 13.80 E), the whole globe in the window.
  void ShowWholeGlobe();
  // The Mediterranean from Gibraltar to the Levant.
  void ShowMediterranean();
  // About 20 km of the Amalfi coast across the window's 1000 pixels (kCoastAltitude).
  void ShowCoast();
  // Tilts the globe by one degree (XRotation), back and forth within 20 degrees of the start.
  void RotateStep();
  // Renders the static scene afresh and paints it.
  void Render();

  globe::TVoduz4& View() { return *View_; }
  const platform::Bitmap24& Bitmap() const { return Bitmap_; }

 private:
  void ShowCloseUp(int32_t altitude, long double latitude, long double longitude);

  std::unique_ptr<globe::TVoduz4> View_;
  platform::Bitmap24 Bitmap_;
  std::unique_ptr<platform::QtDrawingSurface> Surface_;
  long double StartXRotation_ = 0;
  int32_t Direction_ = 1;
};

}  // namespace bench
