#include "globe/view/ProjectionModel.h"

#include <algorithm>
#include <cstdlib>
#include <span>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeProjection.h"

namespace globe {

namespace {

// Device out-codes of a point against a W × H surface.
uint8_t OutCode(int64_t x, int64_t y, int64_t w, int64_t h) {
  uint8_t code = 0;
  if (x < 0) code |= 1;
  if (x > w) code |= 2;
  if (y < 0) code |= 4;
  if (y > h) code |= 8;
  return code;
}

constexpr int32_t kSampleStepGU = 15 * GlobeUnitsPerDegree;   // rectangle samples every 15°
constexpr int32_t kOutlineStepGU = 10 * GlobeUnitsPerDegree;  // world outline every 10°
constexpr int32_t kGraticulePoleGU = 89 * GlobeUnitsPerDegree;
constexpr int32_t kGraticuleTopParallelGU = 85 * GlobeUnitsPerDegree;

}  // namespace

// --- TCustomProjectionModel ---

TCustomProjectionModel::TCustomProjectionModel(TGlobeProjection* projection)
    : Projection_(projection) {
  if (!projection) throw EGlobeException("TProjectionModel.Create passed nil Projection");
}

void TCustomProjectionModel::Assign(const TCustomProjectionModel&) {}

void TCustomProjectionModel::LoadEnvironment(const TGXML_Element*) {}

std::unique_ptr<TGXML_Element> TCustomProjectionModel::SaveEnvironment() const {
  auto element = std::make_unique<TGXML_Element>();
  element->AddAttribute("Class", ClassName());
  return element;
}

std::unique_ptr<TCustomProjectionModel> TCustomProjectionModel::Clone(
    TGlobeProjection* newProjection) const {
  std::unique_ptr<TCustomProjectionModel> model = CreateInstance(newProjection);
  model->Assign(*this);
  return model;
}

// --- TProjectionModel ---

TProjectionModel::TProjectionModel(TGlobeProjection* projection)
    : TCustomProjectionModel(projection) {
  projection->SetMeridianSegments(72);
  projection->SetParallelSegments(144);
}

bool TProjectionModel::LLToXY(int32_t longX, int32_t latY, int32_t index) {
  return PointLLToXY(TGeoPoint(longX, latY, 0), index);
}

int32_t TProjectionModel::PointStoreToXY(TPointStore& store, int32_t startIndex, bool) {
  int32_t count = startIndex;
  if (!IsDevicePointIndex(count)) return count;
  const platform::TPoint* out = DevicePoints();
  int64_t lastX = GU_360_DEGREES, lastY = GU_360_DEGREES;
  const int32_t n = store.Count();
  for (int32_t i = 0; i < n && count < DevicePointCapacity; ++i) {
    if (!PointLLToXY(store.Point(i), count)) continue;
    const platform::TPoint p = out[count];
    if (std::llabs(p.X - lastX) > 1 || std::llabs(p.Y - lastY) > 1) {
      lastX = p.X;
      lastY = p.Y;
      ++count;
    }
  }
  return count;
}

void TProjectionModel::GetXYExtents(platform::TRect& rect) {
  rect = platform::TRect{-GU_180_DEGREES, -GU_90_DEGREES, GU_180_DEGREES, GU_90_DEGREES};
}

bool TProjectionModel::DeviceExtentVisible(int32_t count, uint8_t& outCodes) {
  if (count < 2) return false;
  count = std::min(count, DevicePointCapacity);
  const TPointsExtent e = PointsExtent(
      std::span<const platform::TPoint>(DevicePoints(), static_cast<std::size_t>(count)));
  const int64_t w = Projection().View().CanvasWidth();
  const int64_t h = Projection().View().CanvasHeight();
  const uint8_t minCode = OutCode(e.MinX, e.MinY, w, h);
  const uint8_t maxCode = OutCode(e.MaxX, e.MaxY, w, h);
  outCodes = static_cast<uint8_t>(minCode * 16 + maxCode);
  if ((minCode & maxCode) == 0) return true;
  // Wholly below, right of, above or left of the surface.
  return !((minCode & 8) || (minCode & 2) || (maxCode & 4) || (maxCode & 1));
}

bool TProjectionModel::GeoRectVisible(const TGeoRect& rect, uint16_t& stateFlags) {
  stateFlags &= static_cast<uint16_t>(
      ~(rsPartlyHidden | rsPartlyVisible | rsClipLeft | rsClipTop | rsClipRight | rsClipBottom));
  if (rect.Width >= GU_360_DEGREES) return true;
  // The far edges as the 32-bit original computes them.
  const int32_t right = Wrap32(int64_t{rect.LongX} + rect.Width);
  const int32_t top = Wrap32(int64_t{rect.LatY} + rect.Height);
  if (right <= GU_180_DEGREES) return GeoRectPartVisible(rect.LongX, rect.LatY, right, top, stateFlags);
  // Cut at the 180-degree meridian: the western part, then the eastern one.
  const bool west = GeoRectPartVisible(rect.LongX, rect.LatY, GU_180_DEGREES, top, stateFlags);
  const bool east = GeoRectPartVisible(-GU_180_DEGREES, rect.LatY,
                                       int64_t{right} - GU_360_DEGREES, top, stateFlags);
  return west || east;
}

bool TProjectionModel::GeoRectPartVisible(int64_t left, int64_t bottom, int64_t right,
                                          int64_t top, uint16_t& stateFlags) {
  int32_t count = 0;
  int32_t visible = 0;
  uint8_t codes = 0;
  switch (SampleVerdict(left, bottom, right, top)) {
    case TSampleVerdict::AllHidden:
      return false;
    case TSampleVerdict::AllShownInside:
      count = visible = 4;  // the corners at least; all of them on the window
      break;
    case TSampleVerdict::Unknown: {
      auto at = [](int64_t v) { return Wrap32(v); };
      auto sample = [&](int64_t longX, int64_t latY) {
        if (LLToXY(at(longX), at(latY), count)) ++visible;
        ++count;
      };
      sample(left, bottom);
      sample(right, bottom);
      sample(right, top);
      sample(left, top);
      for (int64_t x = left + kSampleStepGU; x < right; x += kSampleStepGU) {
        sample(x, bottom);
        sample(x, top);
      }
      for (int64_t y = bottom + kSampleStepGU; y < top; y += kSampleStepGU) {
        sample(left, y);
        sample(right, y);
      }
      if (visible == 0) return false;
      if (!DeviceExtentVisible(count, codes)) return false;
      break;
    }
  }
  const uint8_t minCode = codes >> 4;
  const uint8_t maxCode = codes & 0x0F;
  if (minCode & 12) stateFlags |= rsClipTop;
  if (maxCode & 3) stateFlags |= rsClipRight;
  if (maxCode & 12) stateFlags |= rsClipBottom;
  if (minCode & 3) stateFlags |= rsClipLeft;
  const bool allVisible = visible == count;
  if (!Projection().FarSide()) {
    if (!allVisible) stateFlags |= rsPartlyHidden;
    stateFlags |= rsPartlyVisible;
  } else {
    if (!allVisible) stateFlags |= rsPartlyVisible;
    stateFlags |= rsPartlyHidden;
  }
  return true;
}

long double TProjectionModel::CentralMeridianGU() const {
  if (BuildingOutline_) return 0;
  return Projection().CentralMeridian() * static_cast<long double>(GlobeUnitsPerDegree);
}

int32_t TProjectionModel::BuildWorldOutline() {
  struct OutlineScope {
    bool& flag;
    explicit OutlineScope(bool& f) : flag(f) { flag = true; }
    ~OutlineScope() { flag = false; }
  } scope(BuildingOutline_);
  platform::TRect e;
  GetXYExtents(e);
  int32_t n = 0;
  for (int k = 0; k < 36; ++k) LLToXY(Wrap32(int64_t{e.Left} + int64_t{k} * kOutlineStepGU), e.Top, n++);
  for (int k = 0; k < 18; ++k) LLToXY(e.Right - 1, Wrap32(int64_t{e.Top} + int64_t{k} * kOutlineStepGU), n++);
  for (int k = 0; k < 36; ++k) LLToXY(Wrap32(int64_t{e.Right} - 1 - int64_t{k} * kOutlineStepGU), e.Bottom, n++);
  for (int k = 0; k < 18; ++k) LLToXY(e.Left, Wrap32(int64_t{e.Bottom} - int64_t{k} * kOutlineStepGU), n++);
  return n;
}

void TProjectionModel::PaintSurface() {
  const int32_t count = BuildWorldOutline();
  Projection().View().Canvas().RenderPoly(count, rsClosed | rsClipAll, kSurfaceClipMargin);
}

void TProjectionModel::PaintGraticule() {
  TGlobeProjection& projection = Projection();
  TCustomGlobeView& view = projection.View();
  const int64_t longitudeStep = int64_t{view.GraticuleLongitudeStep()} * GlobeUnitsPerDegree;
  if (longitudeStep > 0) {
    const int32_t segments = std::max(2, projection.MeridianSegments());
    for (int64_t longX = -GU_180_DEGREES; longX < GU_180_DEGREES; longX += longitudeStep)
      view.RenderLine(TGeoPoint(static_cast<int32_t>(longX), kGraticulePoleGU),
                      TGeoPoint(static_cast<int32_t>(longX), -kGraticulePoleGU), segments);
  }
  const int64_t latitudeStep = int64_t{view.GraticuleLatitudeStep()} * GlobeUnitsPerDegree;
  if (latitudeStep > 0) {
    const int32_t segments = std::max(2, projection.ParallelSegments());
    constexpr int32_t east = GU_180_DEGREES - 1;
    for (int64_t lat = 0; lat < kGraticuleTopParallelGU; lat += latitudeStep) {
      const auto latY = static_cast<int32_t>(lat);
      view.RenderLine(TGeoPoint(0, latY), TGeoPoint(east, latY), segments);
      view.RenderLine(TGeoPoint(0, latY), TGeoPoint(-east, latY), segments);
      view.RenderLine(TGeoPoint(0, -latY), TGeoPoint(east, -latY), segments);
      view.RenderLine(TGeoPoint(0, -latY), TGeoPoint(-east, -latY), segments);
    }
  }
}

}  // namespace globe
