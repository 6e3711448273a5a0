#include "globe/view/CartesianPrj.h"

#include <cmath>
#include <numbers>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/TextureData.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/DeviceRound.h"
#include "globe/view/GlobeProjection.h"

namespace globe {

namespace {

constexpr long double kDegreeGU = GlobeUnitsPerDegree;
constexpr int32_t kMercatorMaxLatitude = 485'999'999;

// Nearest 64-bit integer (halves to even) of a finite value well inside the 64-bit range.
bool RoundToInt64(long double v, int64_t& result) {
  if (!std::isfinite(v) || std::fabs(v) > 4e18L) return false;
  result = static_cast<int64_t>(std::rint(v));  // nearbyint in the default mode, inlined
  return true;
}

void StoreDevicePoint(int32_t index, int32_t x, int32_t y) {
  if (IsDevicePointIndex(index)) DevicePoints()[index] = platform::TPoint{x, y};
}

}  // namespace

// --- TCartesianPrj ---

TCartesianPrj::TCartesianPrj(TGlobeProjection* projection)
    : TProjectionModel(projection),
      LastXRotation_(projection->XRotation()),
      LastYRotation_(projection->YRotation()) {
  projection->SetModelFlags(mfTextured);
}

std::unique_ptr<TCustomProjectionModel> TCartesianPrj::CreateInstance(
    TGlobeProjection* projection) const {
  return std::make_unique<TCartesianPrj>(projection);
}

void TCartesianPrj::Assign(const TCustomProjectionModel& source) {
  TProjectionModel::Assign(source);
  if (const auto* s = dynamic_cast<const TCartesianPrj*>(&source)) {
    LastXRotation_ = s->LastXRotation_;
    LastYRotation_ = s->LastYRotation_;
  }
}

bool TCartesianPrj::InsideWorld(int64_t longX, int64_t latY) {
  return longX >= -GU_180_DEGREES && longX <= GU_180_DEGREES && latY >= -GU_90_DEGREES &&
         latY <= GU_90_DEGREES;
}

int32_t TCartesianPrj::LongitudeToX(int32_t longX) const {
  const TGlobeProjection& projection = Projection();
  const int32_t cm = RoundToDevice(CentralMeridianGU());
  const int32_t relative = NormaliseLongitude(Wrap32(int64_t{longX} - cm));
  return AddToDevice(projection.XOrigin(), RoundToDevice(projection.ScaleFactor() * relative));
}

bool TCartesianPrj::XToLongitude(int32_t x, int32_t& longX) const {
  const TGlobeProjection& projection = Projection();
  const long double dx = static_cast<long double>(int64_t{x} - projection.XOrigin());
  int64_t v;
  if (!RoundToInt64(dx * (1.0L / projection.ScaleFactor()) + CentralMeridianGU(), v)) return false;
  if (v > 972'000'001) v -= GU_360_DEGREES;
  else if (v < -972'000'001) v += GU_360_DEGREES;
  if (v < -GU_180_DEGREES || v > GU_180_DEGREES) return false;
  longX = static_cast<int32_t>(v);
  return true;
}

bool TCartesianPrj::PointLLToXY(const TGeoPoint& point, int32_t index) {
  const TGlobeProjection& projection = Projection();
  const int32_t y = AddToDevice(projection.YOrigin(),
                                -int64_t{RoundToDevice(point.LatY * projection.ScaleFactor())});
  StoreDevicePoint(index, LongitudeToX(point.LongX), y);
  return InsideWorld(point.LongX, point.LatY);
}

bool TCartesianPrj::XYToLL(int32_t x, int32_t y, int32_t index) {
  const TGlobeProjection& projection = Projection();
  int32_t longX;
  if (!XToLongitude(x, longX)) return false;
  const long double dy = static_cast<long double>(int64_t{y} - projection.YOrigin());
  int64_t latY;
  if (!RoundToInt64(dy * (1.0L / projection.ScaleFactor()), latY)) return false;
  latY = -latY;
  if (!InsideWorld(longX, latY)) return false;
  StoreDevicePoint(index, longX, static_cast<int32_t>(latY));
  return true;
}

void TCartesianPrj::PropertyChanged(int32_t index) {
  TGlobeProjection& projection = Projection();
  if (index == prXRotation) {
    const long double delta = projection.XRotation() - LastXRotation_;
    switch (projection.XAxisChanges()) {
      case xaYOrigin:
        // Pan vertically by the rotation change.
        LLToXY(RoundToDevice(projection.YRotation() * kDegreeGU),
               Wrap32(-int64_t{RoundToDevice(delta * kDegreeGU)}), 0);
        projection.SetIntProp(prYOrigin, DevicePoints()[0].Y);
        break;
      case xaCentralParallel: {
        const long double cp = projection.CentralParallel();
        if (cp > -90 && cp < 90) projection.SetFloatProp(prCentralParallel, NormaliseDegrees(cp + delta));
        break;
      }
      case xaNoAction:
        break;
    }
    LastXRotation_ = projection.XRotation();
  } else if (index == prYRotation) {
    const long double delta = projection.YRotation() - LastYRotation_;
    switch (projection.YAxisChanges()) {
      case yaXOrigin:
        // Pan horizontally: the new origin is the column of the longitude -delta, which
        // includes the central meridian's own offset when it is not 0.
        LLToXY(Wrap32(-int64_t{RoundToDevice(delta * kDegreeGU)}),
               Wrap32(-int64_t{RoundToDevice(projection.XRotation() * kDegreeGU)}), 0);
        projection.SetIntProp(prXOrigin, DevicePoints()[0].X);
        break;
      case yaCentralMeridian:
        projection.SetFloatProp(prCentralMeridian,
                                NormaliseDegrees(projection.CentralMeridian() + delta));
        break;
      case yaNoAction:
        break;
    }
    LastYRotation_ = projection.YRotation();
  }
}

void TCartesianPrj::PaintSurface() {
  const TGlobeProjection& projection = Projection();
  TCustomGlobeView& view = projection.View();
  if ((projection.ModelFlags() & mfTextured) != 0 && view.Texture().HasTexture()) {
    view.Canvas().RenderTextureStretched(view.Texture());
    return;
  }
  TProjectionModel::PaintSurface();
}

// --- TMercatorPrj ---

std::unique_ptr<TCustomProjectionModel> TMercatorPrj::CreateInstance(
    TGlobeProjection* projection) const {
  return std::make_unique<TMercatorPrj>(projection);
}

bool TMercatorPrj::PointLLToXY(const TGeoPoint& point, int32_t index) {
  const TGlobeProjection& projection = Projection();
  int32_t latY = point.LatY;
  if (latY > kMercatorMaxLatitude) latY = kMercatorMaxLatitude;
  if (latY < -kMercatorMaxLatitude) latY = -kMercatorMaxLatitude;
  const long double ym =
      std::log(std::tan(std::numbers::pi_v<long double> / 4 + latY * GUToRadians / 2)) * RadiansToGU;
  const int32_t y =
      AddToDevice(projection.YOrigin(), -int64_t{RoundToDevice(ym * projection.ScaleFactor())});
  StoreDevicePoint(index, LongitudeToX(point.LongX), y);
  return InsideWorld(point.LongX, point.LatY);
}

bool TMercatorPrj::XYToLL(int32_t x, int32_t y, int32_t index) {
  const TGlobeProjection& projection = Projection();
  int32_t longX;
  if (!XToLongitude(x, longX)) return false;
  const long double v =
      static_cast<long double>(int64_t{y} - projection.YOrigin()) / projection.ScaleFactor();
  int64_t latY;
  const long double lat =
      (2 * std::atan(std::exp(-v * GUToRadians)) - std::numbers::pi_v<long double> / 2) * RadiansToGU;
  if (!RoundToInt64(lat, latY)) return false;
  if (!InsideWorld(longX, latY)) return false;
  StoreDevicePoint(index, longX, static_cast<int32_t>(latY));
  return true;
}

void TMercatorPrj::PaintSurface() { TProjectionModel::PaintSurface(); }

}  // namespace globe
