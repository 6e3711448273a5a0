#pragma once
// A 600 × 400 map control painting into a recording window, graticule off; and the angle between
// two places.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "globe/data/GeoDataObject.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObjectSource.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/Voduz4.h"
#include "platform/testing/RecordingDrawingSurface.h"

namespace corvalis::testing {

// Great-circle angle in degrees between two geographic points.
inline long double DegreesBetween(const globe::TGeoPoint& a, const globe::TGeoPoint& b) {
  const long double toRad = std::numbers::pi_v<long double> / 180 / globe::GlobeUnitsPerDegree;
  const long double la = a.LatY * toRad, lb = b.LatY * toRad, dl = (int64_t{b.LongX} - a.LongX) * toRad;
  const long double c = std::sin(la) * std::sin(lb) + std::cos(la) * std::cos(lb) * std::cos(dl);
  return std::acos(std::clamp<long double>(c, -1, 1)) * 180 / std::numbers::pi_v<long double>;
}

class RecordingMapFixture : public ::testing::Test {
 protected:
  RecordingMapFixture() {
    view.SetClientSize(600, 400);
    view.SetGraticuleDrawMode(globe::gdNone);
  }
  void PaintNow() {
    window.ClearLog();
    view.RedrawGlobe();
    view.Paint(window);
  }
  // The plate carrée fitted to the window: the whole world.
  void ShowFlatWorld() {
    view.Projection().SetProjectionClass("TCartesianPrj");
    view.Projection().SetScaleFactor(0);
  }
  // A closed square object in `layer`, `half` GlobeUnit each way round `centre`.
  static globe::TGeoDataObject* AddSquare(globe::TGlobeLayer& layer, const globe::TGeoPoint& centre, int32_t half) {
    auto* object = layer.ObjectSource()->NewObject<globe::TGeoDataObject>();
    for (const auto& [x, y] : {std::pair{-1, -1}, std::pair{1, -1}, std::pair{1, 1}, std::pair{-1, 1}})
      object->Chains().Chain(0).Add(globe::TGeoPoint(centre.LongX + x * half, centre.LatY + y * half, 0));
    object->SetClosed(true);
    object->Changed();
    return object;
  }

  globe::TVoduz4 view;
  platform::testing::RecordingDrawingSurface window{600, 400};
};

}  // namespace corvalis::testing
