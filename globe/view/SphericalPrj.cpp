#include "globe/view/SphericalPrj.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "globe/data/GlobeUnits.h"
#include "globe/data/TextureData.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/DoubleProjection.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/DeviceRound.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/HorizonRing.h"

namespace globe {

namespace {

// Start value of the last accepted chain position: far from any real one.
constexpr long double kNoLastPosition = 2'147'483'646.0L;

// Long chains are walked in spans of kSpanPoints and blocks of kBlockPoints points; a span or
// block whose every point lies far beyond the window (or behind the globe) is passed by its first
// and last points alone.
constexpr int32_t kBlockChainPoints = 4096;
constexpr int32_t kSpanPoints = 1024;
constexpr int32_t kBlockPoints = 64;
constexpr int32_t kRunPoints = 16;
// Pixels beyond the window's edges from which the path of an outline no longer shows: only on
// which side of the window it runs does (the clipping maps it onto lines a pen width outside the
// window's edges). Enough for pens up to 128 pixels wide.
constexpr double kBlockMargin = 64;

long double Dot(const std::array<long double, 3>& row, const TVec3& v) {
  return row[0] * v.X + row[1] * v.Y + row[2] * v.Z;
}

// Back from a direction to a geographic point; the longitude is left 0 at the poles.
TGeoPoint DirectionToGeo(const TVec3& v) {
  const TVec3 u = Vec3Normalise(v);
  TGeoPoint p;
  if (u.X != 0 || u.Z != 0) p.LongX = RoundToDevice(ArcTan2(u.X, u.Z) * RadiansToGU);
  p.LatY = RoundToDevice(ArcSin(u.Y) * RadiansToGU);
  return p;
}

// How far an Extended value may move when taken as a double.
double RoundingToDouble(long double value) { return static_cast<double>(std::fabs(value)) * 0x1p-52; }

TVec3 ToVec3(const TPoint3D& p) {
  return TVec3{static_cast<long double>(p.X), static_cast<long double>(p.Y), static_cast<long double>(p.Z)};
}

TVec3 Midpoint(const TVec3& a, const TVec3& b) {
  return Vec3Normalise(TVec3{a.X + b.X, a.Y + b.Y, a.Z + b.Z});
}

}  // namespace

TSphericalPrj::TSphericalPrj(TGlobeProjection* projection) : TProjectionModel(projection) {
  projection->SetMeridianSegments(36);
  projection->SetParallelSegments(72);
  projection->SetModelFlags(mfHorizonClip | mfTextured);
}

std::unique_ptr<TCustomProjectionModel> TSphericalPrj::CreateInstance(
    TGlobeProjection* projection) const {
  return std::make_unique<TSphericalPrj>(projection);
}

void TSphericalPrj::Assign(const TCustomProjectionModel& source) {
  TProjectionModel::Assign(source);
  if (const auto* s = dynamic_cast<const TSphericalPrj*>(&source)) {
    ForwardMatrix_ = s->ForwardMatrix_;
    Fast_ = s->Fast_;
    InverseMatrix_ = s->InverseMatrix_;
    HorizonRadius_ = s->HorizonRadius_;
    HorizonRadiusSq_ = s->HorizonRadiusSq_;
  }
}

void TSphericalPrj::GetXYExtents(platform::TRect& rect) {
  rect = platform::TRect{-EarthRadiusGU, -EarthRadiusGU, EarthRadiusGU, EarthRadiusGU};
}

void TSphericalPrj::PropertyChanged(int32_t index) {
  TGlobeProjection& projection = Projection();
  switch (index) {
    case prXRotation: {
      long double x = projection.XRotation();
      if (x > 90) x = 90;
      if (x < -90) x = -90;
      projection.SetFloatProp(prXRotation, x);
      break;
    }
    case prYRotation:
      projection.SetFloatProp(prYRotation, NormaliseDegrees(projection.YRotation()));
      break;
    case prZRotation:
      projection.SetFloatProp(prZRotation, NormaliseDegrees(projection.ZRotation()));
      break;
    case prScaleFactor:
      HorizonRadius_ = projection.ScaleFactor() * static_cast<long double>(EarthRadiusGU);
      HorizonRadiusSq_ = HorizonRadius_ * HorizonRadius_;
      break;
    default:
      return;
  }
  BuildMatrices();
}

void TSphericalPrj::BuildMatrices() {
  const TGlobeProjection& projection = Projection();
  const TMatrix3 rotation = QuaternionToMatrix(QuaternionFromEuler(
      projection.XRotation(), projection.YRotation(), projection.ZRotation()));
  const long double scale = projection.ScaleFactor();
  InverseMatrix_ = MatrixScale(MatrixTranspose(rotation), 1.0L / scale);
  ForwardMatrix_ = MatrixScale(rotation, scale);
  Fast_ = TDoubleProjection(ForwardMatrix_);
}

bool TSphericalPrj::PointLLToXY(const TGeoPoint& point, int32_t index) {
  // In doubles where every decision is sure (see PointStoreToXY), else in Extended.
  const std::array<double, 3> v = GeoToCartesianInDoubles(point);
  const double magnitude = std::fabs(static_cast<double>(point.Height) + EarthRadiusGU);
  const double error = GeoToCartesianBound(point);
  const double dz = Fast_.Dot(2, v);
  if (std::fabs(dz) > Fast_.Bound(2, magnitude, error)) {
    int64_t rx = 0, ry = 0;
    if (!IsDevicePointIndex(index)) return (dz <= 0) != Projection().FarSide();
    if (RoundsSurely(Fast_.Dot(0, v), Fast_.Bound(0, magnitude, error), rx) &&
        RoundsSurely(Fast_.Dot(1, v), Fast_.Bound(1, magnitude, error), ry)) {
      const TGlobeProjection& projection = Projection();
      DevicePoints()[index] =
          platform::TPoint{AddToDevice(projection.XOrigin(), rx), AddToDevice(projection.YOrigin(), ry)};
      return (dz <= 0) != projection.FarSide();
    }
  }
  const TVec3 p = GeoToCartesianExact(point);
  const long double sx = Dot(ForwardMatrix_[0], p);
  const long double sy = Dot(ForwardMatrix_[1], p);
  const long double sz = Dot(ForwardMatrix_[2], p);
  if (IsDevicePointIndex(index)) {
    const TGlobeProjection& projection = Projection();
    DevicePoints()[index] = platform::TPoint{AddToDevice(projection.XOrigin(), RoundToDevice(sx)),
                                             AddToDevice(projection.YOrigin(), RoundToDevice(sy))};
  }
  return (sz <= 0) != Projection().FarSide();
}

bool TSphericalPrj::XYToLL(int32_t x, int32_t y, int32_t index) {
  const TGlobeProjection& projection = Projection();
  const auto dx = static_cast<long double>(int64_t{x} - projection.XOrigin());
  const auto dy = static_cast<long double>(int64_t{y} - projection.YOrigin());
  const long double d = HorizonRadiusSq_ - dx * dx - dy * dy;
  if (!(d >= 0)) return false;  // off the globe (or no usable zoom)
  const TVec3 v{dx, dy, -std::sqrt(d)};  // always the near hemisphere
  const long double w0 = Dot(InverseMatrix_[0], v);
  const long double w1 = Dot(InverseMatrix_[1], v);
  const long double w2 = Dot(InverseMatrix_[2], v);
  const long double longX = ArcTan2(w0, w2) * RadiansToGU;
  const long double latY = ArcSin(w1 * (1.0L / EarthRadiusGU)) * RadiansToGU;
  if (!std::isfinite(longX) || !std::isfinite(latY)) return false;
  if (IsDevicePointIndex(index)) DevicePoints()[index] = platform::TPoint{RoundToDevice(longX), RoundToDevice(latY)};
  return true;
}

void TSphericalPrj::RunBoxes(const TPointStore::TPackedView& points, int32_t first, int32_t end, TBlockBox* boxes) {
  // Longitudes unwrapped along the stretch (an edge across the 180-degree meridian stays short),
  // so that the boxes of its runs join by their extremes. When the stretch spans at most half a
  // turn of longitude no step wraps, and the unwrapped longitudes are the stored ones.
  int32_t westmost = INT32_MAX, eastmost = INT32_MIN;
  TBlockBox* box = boxes;
  for (int32_t run = first; run < end; run += kRunPoints, ++box) {
    const int32_t runEnd = std::min(end, run + kRunPoints);
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (int32_t i = run; i < runEnd; ++i) {
      const int32_t longX = points.LongX(i), latY = points.LatY(i);
      minX = std::min(minX, longX);
      maxX = std::max(maxX, longX);
      minY = std::min(minY, latY);
      maxY = std::max(maxY, latY);
    }
    *box = TBlockBox{minX, maxX, minY, maxY};
    westmost = std::min(westmost, minX);
    eastmost = std::max(eastmost, maxX);
  }
  if (int64_t{eastmost} - westmost <= GU_180_DEGREES) return;
  int64_t x = points.LongX(first);
  for (int32_t run = first; run < end; run += kRunPoints, ++boxes) {
    const int32_t runEnd = std::min(end, run + kRunPoints);
    TBlockBox box{INT64_MAX, INT64_MIN, INT32_MAX, INT32_MIN};
    for (int32_t i = run; i < runEnd; ++i) {
      if (i > first) {
        int64_t step = int64_t{points.LongX(i)} - points.LongX(i - 1);
        if (step > GU_180_DEGREES) step -= GU_360_DEGREES;
        if (step < -GU_180_DEGREES) step += GU_360_DEGREES;
        x += step;
      }
      box.MinX = std::min(box.MinX, x);
      box.MaxX = std::max(box.MaxX, x);
      box.MinY = std::min(box.MinY, points.LatY(i));
      box.MaxY = std::max(box.MaxY, points.LatY(i));
    }
    *boxes = box;
  }
}

TSphericalPrj::TBlockBox TSphericalPrj::Joined(const TBlockBox* boxes, int32_t count) {
  TBlockBox box = boxes[0];
  for (int32_t k = 1; k < count; ++k) {
    box.MinX = std::min(box.MinX, boxes[k].MinX);
    box.MaxX = std::max(box.MaxX, boxes[k].MaxX);
    box.MinY = std::min(box.MinY, boxes[k].MinY);
    box.MaxY = std::max(box.MaxY, boxes[k].MaxY);
  }
  return box;
}

TSphericalPrj::TBlockCap TSphericalPrj::CapOf(const TBlockBox& box) {
  // Every point lies within `reach` radians of the box's middle, as in SampleVerdict.
  TBlockCap cap;
  cap.Reach = static_cast<double>(box.MaxX - box.MinX + (int64_t{box.MaxY} - box.MinY) + 2) / 2 *
                  static_cast<double>(GUToRadians) +
              1e-9;
  if (cap.Reach < 0.5)
    cap.Middle = GeoToCartesianInDoubles(TGeoPoint(NormaliseLongitude(Wrap32((box.MinX + box.MaxX) / 2)),
                                                   static_cast<int32_t>((int64_t{box.MinY} + box.MaxY) / 2), 0));
  return cap;
}

bool TSphericalPrj::ShownWithin(const TBlockCap& cap, long double x, long double y, double slack) const {
  if (cap.Reach >= 0.5 || !(HorizonRadius_ > 0 && HorizonRadius_ < 1e12L)) return false;
  const auto radius = static_cast<double>(HorizonRadius_);
  const double away = Fast_.Dot(2, cap.Middle) / radius, limit = std::sin(cap.Reach);
  if (!(Projection().FarSide() ? away > limit : away < -limit)) return false;
  // The 3-D points are rounded to whole GlobeUnits: half a unit on each axis more.
  const double spread = radius * cap.Reach * (1 + 1e-9) + static_cast<double>(Projection().ScaleFactor()) + slack;
  return std::fabs(Fast_.Dot(0, cap.Middle) - static_cast<double>(x)) + spread < 1 &&
         std::fabs(Fast_.Dot(1, cap.Middle) - static_cast<double>(y)) + spread < 1;
}

TSphericalPrj::TBlockWay TSphericalPrj::BlockWay(const TBlockCap& cap, bool clipToHorizon, bool horizonBeyond) const {
  const double reach = cap.Reach;
  const std::array<double, 3>& middle = cap.Middle;
  if (reach >= 0.5 || !(HorizonRadius_ > 0 && HorizonRadius_ < 1e12L)) return TBlockWay::Walk;
  const auto radius = static_cast<double>(HorizonRadius_);
  const double away = Fast_.Dot(2, middle) / radius;
  const double limit = std::sin(reach);
  const bool farSide = Projection().FarSide();
  const double mx = Fast_.Dot(0, middle), my = Fast_.Dot(1, middle);
  if (farSide ? away < -limit : away > limit) {
    // All hidden: left out of open lines; on an outline pushed onto the horizon, where their
    // directions from the centre lie within 30 degrees of the middle's when the middle's image
    // is twice the block's spread from the centre.
    if (!clipToHorizon) return TBlockWay::Hidden;
    return horizonBeyond && std::hypot(mx, my) > 2 * radius * reach + 2 ? TBlockWay::Hidden : TBlockWay::Walk;
  }
  if (!(farSide ? away > limit : away < -limit)) return TBlockWay::Walk;
  // All shown: within `spread` pixels of the middle's image (the chord is at most the arc).
  const TGlobeProjection& projection = Projection();
  const double spread = radius * reach * (1 + 1e-9) + 2;
  const double px = mx + static_cast<double>(projection.XOrigin());
  const double py = my + static_cast<double>(projection.YOrigin());
  const auto width = static_cast<double>(projection.View().CanvasWidth());
  const auto height = static_cast<double>(projection.View().CanvasHeight());
  if (px + spread < -kBlockMargin || px - spread > width + kBlockMargin || py + spread < -kBlockMargin ||
      py - spread > height + kBlockMargin)
    return TBlockWay::Beyond;
  return TBlockWay::Walk;
}

bool TSphericalPrj::HorizonBeyondWindow() const {
  const TGlobeProjection& projection = Projection();
  const auto x0 = static_cast<double>(projection.XOrigin()), y0 = static_cast<double>(projection.YOrigin());
  const auto width = static_cast<double>(projection.View().CanvasWidth());
  const auto height = static_cast<double>(projection.View().CanvasHeight());
  const double dx = std::max(std::fabs(x0), std::fabs(width - x0)), dy = std::max(std::fabs(y0), std::fabs(height - y0));
  return static_cast<double>(HorizonRadius_) > std::hypot(dx, dy) + 2 * kBlockMargin;
}

int32_t TSphericalPrj::PointStoreToXY(TPointStore& store, int32_t startIndex, bool clipToHorizon) {
  int32_t count = startIndex;
  if (!IsDevicePointIndex(count)) return count;
  const TGlobeProjection& projection = Projection();
  const bool keep = projection.View().GlobeOptions().Contains(goCache3DPoints);
  // A long chain whose 3-D points are not at hand is walked in blocks when they would not be
  // kept, or when the window shows a part of the disc only (a close-up, where most blocks lie
  // beyond the window): only the blocks the frame needs are worked out, and none is kept.
  const bool inBlocks =
      store.Count() >= kBlockChainPoints && !store.Has3DCache() && (!keep || HorizonBeyondWindow());
  const TPoint3DBlock points = inBlocks ? nullptr : store.Get3DPoints(keep);
  if (!inBlocks && !points) return count;
  const std::size_t n = inBlocks ? static_cast<std::size_t>(store.Count()) : points->size();
  const auto pointAt = [&](std::size_t i) {
    return inBlocks ? GeoToCartesian(store.Point(static_cast<int32_t>(i))) : (*points)[i];
  };
  const bool farSide = projection.FarSide();
  const int64_t xOrigin = projection.XOrigin(), yOrigin = projection.YOrigin();
  platform::TPoint* out = DevicePoints();
  const auto emit = [&](long double sx, long double sy) {
    out[count++] = platform::TPoint{AddToDevice(xOrigin, RoundToDevice(sx)), AddToDevice(yOrigin, RoundToDevice(sy))};
  };
  // The position in Extended: a hidden point pushed radially onto the horizon.
  const auto exactPosition = [&](const TPoint3D& p3, bool hidden, long double& sx, long double& sy) {
    const TVec3 p = ToVec3(p3);
    sx = Dot(ForwardMatrix_[0], p);
    sy = Dot(ForwardMatrix_[1], p);
    if (!hidden) return;
    const long double h = Hypot(sx, sy);
    if (h > 0) {
      const long double f = HorizonRadius_ / h;
      sx *= f;
      sy *= f;
    } else {  // straight behind the centre: any horizon point will do
      sx = HorizonRadius_;
      sy = 0;
    }
  };

  // Every decision (hidden or not, a pixel on from the last kept point or not, which pixel) is
  // first taken in doubles (TDoubleProjection) and taken again in Extended only when the double
  // value lies too close to the threshold to tell; so the points kept and their pixels are the
  // Extended ones, at a fraction of the cost. The horizon ring needs the kept positions in
  // Extended: they are worked out again for outlines that reach behind the globe.
  const TDoubleProjection& fast = Fast_;
  const double boundX = fast.Bound(0), boundY = fast.Bound(1), boundZ = fast.Bound(2);
  const auto radius = static_cast<double>(HorizonRadius_);
  Kept_.clear();
  bool anyHiddenKept = false;
  std::size_t lastKept = n;  // none yet
  bool lastHidden = false;
  double lastDz = 0;  // the last kept point's depth, in doubles
  long double lastX = kNoLastPosition, lastY = kNoLastPosition;  // as doubles within lastBound of Extended
  double lastBoundX = 0, lastBoundY = 0;
  // One point: false once the buffer is full.
  const auto visit = [&](std::size_t i, const TPoint3D& p3) {
    if (count >= DevicePointCapacity) return false;
    const double dz = fast.Dot(2, p3);
    long double sx = 0, sy = 0;
    bool haveExact = false;
    const bool hidden = (std::fabs(dz) > boundZ ? dz <= 0 : Dot(ForwardMatrix_[2], ToVec3(p3)) <= 0) == farSide;
    if (hidden && !clipToHorizon) return true;
    double px = fast.Dot(0, p3), py = fast.Dot(1, p3), bx = boundX, by = boundY;
    bool known = true;
    if (hidden) {
      const double h = std::sqrt(px * px + py * py);
      if (h > radius * 0x1p-20) {
        px *= radius / h;
        py *= radius / h;
        bx = by = radius * (4 * (boundX + boundY) / h + 0x1p-45);
      } else {
        known = false;  // too near straight behind the centre to bound the push
      }
    }
    int beyondX = 0, beyondY = 0;
    if (known) {
      beyondX = TDoubleProjection::BeyondOne(static_cast<double>(lastX) - px, bx + lastBoundX);
      beyondY = TDoubleProjection::BeyondOne(static_cast<double>(lastY) - py, by + lastBoundY);
    }
    bool pass = beyondX > 0 || beyondY > 0;
    if (!pass && (beyondX == 0 || beyondY == 0)) {
      // Too close to call: both positions in Extended.
      if (lastKept < n) {
        exactPosition(pointAt(lastKept), lastHidden, lastX, lastY);
        lastBoundX = RoundingToDouble(lastX);
        lastBoundY = RoundingToDouble(lastY);
      }
      exactPosition(p3, hidden, sx, sy);
      haveExact = true;
      pass = std::fabs(lastX - sx) > 1.0L || std::fabs(lastY - sy) > 1.0L;
    }
    if (!pass) return true;
    int64_t rx = 0, ry = 0;
    if (!haveExact && RoundsSurely(px, bx, rx) && RoundsSurely(py, by, ry)) {
      out[count++] = platform::TPoint{AddToDevice(xOrigin, rx), AddToDevice(yOrigin, ry)};
      lastX = px;
      lastY = py;
      lastBoundX = bx;
      lastBoundY = by;
    } else {
      if (!haveExact) exactPosition(p3, hidden, sx, sy);
      emit(sx, sy);
      lastX = sx;
      lastY = sy;
      lastBoundX = RoundingToDouble(sx);
      lastBoundY = RoundingToDouble(sy);
    }
    lastKept = i;
    lastHidden = hidden;
    lastDz = dz;
    if (clipToHorizon) {
      Kept_.push_back(hidden ? ~static_cast<int32_t>(i) : static_cast<int32_t>(i));
      anyHiddenKept = anyHiddenKept || hidden;
    }
    return true;
  };

  // Every decision (hidden or not, a pixel on from the last kept point or not, which pixel) is
  // first taken in doubles (TDoubleProjection) and taken again in Extended only when the double
  // value lies too close to the threshold to tell; so the points kept and their pixels are the
  // Extended ones, at a fraction of the cost. The horizon ring needs the kept positions in
  // Extended: they are worked out again for outlines that reach behind the globe.
  const TPointStore::TPackedView packed = store.Packed();
  // A point whose chord from the last kept one spans less than a pixel, with the 3-D points'
  // rounding, is not kept either, and stays on the kept point's side of the horizon when that lies
  // farther off: it is passed over unprojected (and, walked in blocks, before its 3-D point is
  // worked out). By the haversine, with sin x <= x and the cosine's slope at most 1, the chord
  // over the radius is at most sqrt(dLat^2 + cos(lat) (cos(lat) + dLat) dLong^2), where lat is
  // the kept point's latitude and the steps are in radians.
  const bool noHeights = !store.StoreHeight() && packed.Data() && static_cast<std::size_t>(packed.Count()) == n;
  const auto radiansPerGU = static_cast<double>(GUToRadians);
  const double roundingPixels = 2 * static_cast<double>(projection.ScaleFactor()) + radius * 1e-15 + 1e-6;
  // The squared chord (in GlobeUnits of arc) under which a point lies surely within a pixel.
  const double withinPixel = (1 - roundingPixels) / (radius * radiansPerGU * (1 + 1e-9));
  const double withinPixelSq = withinPixel > 0 ? withinPixel * withinPixel * (1 - 1e-9) : 0;
  int64_t lastLong = 0, lastLat = 0;
  double lastCos = 1;
  bool lastDeep = false;  // the kept point lies more than a pixel off the horizon
  std::size_t nearFrom = n;  // the kept point lastLong/lastLat/lastCos describe
  const auto nearFromKnown = [&] {
    if (!noHeights || lastKept >= n || lastHidden || !(radius > 0 && radius < 1e12)) return false;
    if (nearFrom != lastKept) {
      nearFrom = lastKept;
      lastLong = packed.LongX(static_cast<int32_t>(lastKept));
      lastLat = packed.LatY(static_cast<int32_t>(lastKept));
      lastCos = std::cos(static_cast<double>(lastLat) * radiansPerGU) + 1e-12;
      lastDeep = std::fabs(lastDz) > 1 + 2 * boundZ;
    }
    return true;
  };
  // The steps (in GlobeUnits) to the farthest latitude and longitude from the kept point.
  const auto nearWithin = [&](int64_t dLong, int64_t dLat) {
    const auto a = static_cast<double>(dLat), b = static_cast<double>(dLong);
    const double chordSq = a * a + lastCos * (lastCos + a * radiansPerGU) * b * b;
    if (!(chordSq < withinPixelSq)) return false;
    if (lastDeep) return true;
    const double reach = radius * radiansPerGU * std::sqrt(chordSq) * (1 + 1e-9) + roundingPixels;
    return std::fabs(lastDz) > reach + 2 * boundZ;
  };
  const auto nearLastKept = [&](int32_t i) {
    if (!nearFromKnown()) return false;
    int64_t dLong = std::llabs(packed.LongX(i) - lastLong);
    if (dLong > GU_180_DEGREES) dLong = GU_360_DEGREES - dLong;
    return nearWithin(dLong, std::llabs(packed.LatY(i) - lastLat));
  };
  const auto runNearLastKept = [&](const TBlockBox& box) {
    if (!nearFromKnown()) return false;
    // The kept longitude taken within half a turn of the box's middle (the box's are unwrapped).
    int64_t from = lastLong;
    const int64_t middle = (box.MinX + box.MaxX) / 2;
    while (from - middle > GU_180_DEGREES) from -= GU_360_DEGREES;
    while (middle - from > GU_180_DEGREES) from += GU_360_DEGREES;
    return nearWithin(std::max(box.MaxX - from, from - box.MinX),
                      std::max(int64_t{box.MaxY} - lastLat, lastLat - int64_t{box.MinY}));
  };
  if (!inBlocks) {
    // Passing near points pays on close-ups only: whole-globe frames draw levels of detail, whose
    // points are mostly a pixel apart.
    const bool closeUp = HorizonBeyondWindow();
    for (std::size_t i = 0; i < n; ++i)
      if (!(closeUp && nearLastKept(static_cast<int32_t>(i))) && !visit(i, (*points)[i])) break;
  } else {
    const bool horizonBeyond = clipToHorizon && HorizonBeyondWindow();
    bool full = false;
    const auto at = [&](int32_t i) { return pointAt(static_cast<std::size_t>(i)); };
    // Spans of kSpanPoints, else their blocks of kBlockPoints, else point by point; but a run of
    // kRunPoints shown wholly within a pixel of the last kept point (where none of them would be
    // kept) is passed over unprojected. The boxes of a span's runs are found in one sweep.
    // One point of the walk: false once the buffer is full.
    const auto step = [&](int32_t i) { return nearLastKept(i) || visit(static_cast<std::size_t>(i), at(i)); };
    // Whether the stretch [first, end) is done by its ends: wholly hidden (an open line leaves it
    // out), or the path between its first and last points stays beyond the same edge of the
    // window, or on the horizon beyond the window.
    const auto passedByEnds = [&](int32_t first, int32_t end, const TBlockBox& box) {
      switch (BlockWay(CapOf(box), clipToHorizon, horizonBeyond)) {
        case TBlockWay::Hidden:
          if (!clipToHorizon) return true;
          [[fallthrough]];
        case TBlockWay::Beyond:
          full = !step(first) || !step(end - 1);
          return true;
        case TBlockWay::Walk:
          break;
      }
      return false;
    };
    std::array<TBlockBox, kSpanPoints / kRunPoints> runs;
    const auto runCount = [](int32_t first, int32_t end) { return (end - first + kRunPoints - 1) / kRunPoints; };
    for (int32_t span = 0; span < packed.Count() && !full; span += kSpanPoints) {
      const int32_t spanEnd = std::min(packed.Count(), span + kSpanPoints);
      RunBoxes(packed, span, spanEnd, runs.data());
      if (passedByEnds(span, spanEnd, Joined(runs.data(), runCount(span, spanEnd)))) continue;
      for (int32_t first = span; first < spanEnd && !full; first += kBlockPoints) {
        const int32_t end = std::min(spanEnd, first + kBlockPoints);
        const TBlockBox* blockRuns = runs.data() + (first - span) / kRunPoints;
        if (passedByEnds(first, end, Joined(blockRuns, runCount(first, end)))) continue;
        for (int32_t run = first; run < end && !full; run += kRunPoints) {
          const int32_t runEnd = std::min(end, run + kRunPoints);
          const TBlockBox& runBox = runs[static_cast<std::size_t>((run - span) / kRunPoints)];
          if (runNearLastKept(runBox) ||
              (lastKept < n && ShownWithin(CapOf(runBox), lastX, lastY, lastBoundX + lastBoundY + boundX + boundY)))
            continue;
          for (int32_t i = run; i < runEnd && !full; ++i) full = !step(i);
        }
      }
    }
  }
  if (!anyHiddenKept) return count;
  Ring_.Clear();
  for (const int32_t k : Kept_) {
    const bool hidden = k < 0;
    long double sx = 0, sy = 0;
    exactPosition(pointAt(static_cast<std::size_t>(hidden ? ~k : k)), hidden, sx, sy);
    Ring_.Add(sx, sy, hidden);
  }
  // An outline that reaches behind the globe: it follows the horizon, and is mended where its
  // horizon part winds wrongly.
  const std::vector<THorizonRing::TPointXY>* ring = &Ring_.Follow(HorizonRadius_);
  if (!Ring_.AnyVisible() || Ring_.Winding() != 0) {
    const TGeoPoint middle = MiddlePoint(farSide);
    ring = &Ring_.Mended(store.PointInPolygon(middle.LongX, middle.LatY), HorizonRadius_);
  }
  count = startIndex;
  for (const THorizonRing::TPointXY& q : *ring) {
    if (count >= DevicePointCapacity) break;
    emit(q.X, q.Y);
  }
  return count;
}

TProjectionModel::TSampleVerdict TSphericalPrj::SampleVerdict(int64_t left, int64_t bottom, int64_t right,
                                                              int64_t top) {
  if (!(HorizonRadius_ > 0 && HorizonRadius_ < 1e12L)) return TSampleVerdict::Unknown;
  // Every sample lies within `reach` (radians) of the middle point: at most half the latitude
  // span along the middle's meridian, then at most half the longitude span along a parallel
  // (the middle is rounded to whole GlobeUnits: one more each). Worked in doubles: the margin
  // keeps the verdicts far clear of their rounding and of the samples' own.
  constexpr double kMargin = 1e-9;
  const double reach =
      static_cast<double>(std::llabs(right - left) + std::llabs(top - bottom) + 2) / 2 * static_cast<double>(GUToRadians) +
      kMargin;
  if (reach >= 1.5) return TSampleVerdict::Unknown;  // near a hemisphere: nothing to tell
  const std::array<double, 3> middle =
      GeoToCartesianInDoubles(TGeoPoint(Wrap32((left + right) / 2), Wrap32((bottom + top) / 2), 0));
  const auto radius = static_cast<double>(HorizonRadius_);
  // Cosine of the angle between the middle and the direction away from the viewer.
  const double away = Fast_.Dot(2, middle) / radius;
  const double limit = std::sin(reach);
  const bool allAway = away > limit, allToward = away < -limit;
  const bool farSide = Projection().FarSide();
  if (farSide ? allToward : allAway) return TSampleVerdict::AllHidden;
  if (!(farSide ? allAway : allToward)) return TSampleVerdict::Unknown;
  // All shown: the chord to any sample is at most the arc, so its pixel lies within this many
  // pixels of the middle's (rounding included).
  const TGlobeProjection& projection = Projection();
  const double spread = radius * reach * (1 + 1e-9) + 2;
  const double x = Fast_.Dot(0, middle) + static_cast<double>(projection.XOrigin());
  const double y = Fast_.Dot(1, middle) + static_cast<double>(projection.YOrigin());
  const auto width = static_cast<double>(projection.View().CanvasWidth());
  const auto height = static_cast<double>(projection.View().CanvasHeight());
  if (x - spread >= 1 && x + spread <= width - 1 && y - spread >= 1 && y + spread <= height - 1)
    return TSampleVerdict::AllShownInside;
  return TSampleVerdict::Unknown;
}

TGeoPoint TSphericalPrj::MiddlePoint(bool farSide) const {
  // The point whose image is the centre of the disc: straight towards the viewer on the near
  // hemisphere, straight away on the far one.
  const long double z = farSide ? 1 : -1;
  return DirectionToGeo(TVec3{InverseMatrix_[0][2] * z, InverseMatrix_[1][2] * z, InverseMatrix_[2][2] * z});
}

bool TSphericalPrj::FacesViewer(const TVec3& v) const {
  return (Dot(ForwardMatrix_[2], v) <= 0) != Projection().FarSide();
}

void TSphericalPrj::PaintSurface() {
  TGlobeProjection& projection = Projection();
  const bool textured = (projection.ModelFlags() & mfTextured) != 0 &&
                        projection.View().Texture().HasTexture();
  if (textured) {
    const long double scale = projection.ScaleFactor();
    const int depth = scale > 2e-6L ? 5 : scale > 2e-7L ? 4 : 3;
    const TVec3 north{0, 1, 0}, south{0, -1, 0};
    const TVec3 ring[4] = {{0, 0, 1}, {1, 0, 0}, {0, 0, -1}, {-1, 0, 0}};
    for (int k = 0; k < 4; ++k) PaintTextureTriangle(north, ring[k], ring[(k + 1) % 4], depth);
    for (int k = 0; k < 4; ++k) PaintTextureTriangle(south, ring[(k + 1) % 4], ring[k], depth);
    return;
  }
  // The disc: a 90-gon round the origin.
  platform::TPoint* out = DevicePoints();
  const long double r = HorizonRadius_;
  for (int k = 0; k < 90; ++k) {
    const long double angle = k * 4 * std::numbers::pi_v<long double> / 180;
    out[k] = platform::TPoint{AddToDevice(projection.XOrigin(), RoundToDevice(r * std::cos(angle))),
                              AddToDevice(projection.YOrigin(), RoundToDevice(r * std::sin(angle)))};
  }
  projection.View().Canvas().RenderPoly(90, rsClosed | rsClipAll, kSurfaceClipMargin);
}

void TSphericalPrj::PaintTextureTriangle(const TVec3& a, const TVec3& b, const TVec3& c,
                                         int depth) {
  if (depth == 0) {
    TCustomGlobeView& view = Projection().View();
    view.Canvas().RenderTextureTriangle(DirectionToGeo(a), DirectionToGeo(b), DirectionToGeo(c),
                                        view.Texture());
    return;
  }
  if (!FacesViewer(a) && !FacesViewer(b) && !FacesViewer(c)) return;
  const TVec3 ab = Midpoint(a, b), bc = Midpoint(b, c), ca = Midpoint(c, a);
  PaintTextureTriangle(a, ab, ca, depth - 1);
  PaintTextureTriangle(ab, b, bc, depth - 1);
  PaintTextureTriangle(ca, bc, c, depth - 1);
  PaintTextureTriangle(ab, bc, ca, depth - 1);
}

}  // namespace globe
