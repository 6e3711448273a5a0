#include "globe/view/SphericalPrj.h"

#include <cmath>
#include <numbers>

#include "globe/data/GlobeUnits.h"
#include "globe/data/TextureData.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/DeviceRound.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/HorizonRing.h"

namespace globe {

namespace {

// Start value of the last accepted chain position: far from any real one.
constexpr long double kNoLastPosition = 2'147'483'646.0L;

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
}

bool TSphericalPrj::PointLLToXY(const TGeoPoint& point, int32_t index) {
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

int32_t TSphericalPrj::PointStoreToXY(TPointStore& store, int32_t startIndex, bool clipToHorizon) {
  int32_t count = startIndex;
  if (!IsDevicePointIndex(count)) return count;
  const TGlobeProjection& projection = Projection();
  const bool keep = projection.View().GlobeOptions().Contains(goCache3DPoints);
  const TPoint3DBlock points = store.Get3DPoints(keep);
  if (!points) return count;
  const bool farSide = projection.FarSide();
  const int64_t xOrigin = projection.XOrigin(), yOrigin = projection.YOrigin();
  platform::TPoint* out = DevicePoints();
  const auto emit = [&](long double sx, long double sy) {
    out[count++] = platform::TPoint{AddToDevice(xOrigin, RoundToDevice(sx)), AddToDevice(yOrigin, RoundToDevice(sy))};
  };
  if (clipToHorizon) Ring_.Clear();
  long double lastX = kNoLastPosition, lastY = kNoLastPosition;
  for (const TPoint3D& p3 : *points) {
    if (count >= DevicePointCapacity) break;
    const TVec3 p{static_cast<long double>(p3.X), static_cast<long double>(p3.Y),
                  static_cast<long double>(p3.Z)};
    long double sx = Dot(ForwardMatrix_[0], p);
    long double sy = Dot(ForwardMatrix_[1], p);
    const long double sz = Dot(ForwardMatrix_[2], p);
    const bool hidden = (sz <= 0) == farSide;
    if (hidden) {
      if (!clipToHorizon) continue;
      const long double h = Hypot(sx, sy);
      if (h > 0) {
        const long double f = HorizonRadius_ / h;
        sx *= f;
        sy *= f;
      } else {  // straight behind the centre: any horizon point will do
        sx = HorizonRadius_;
        sy = 0;
      }
    }
    if (std::fabs(lastX - sx) > 1.0L || std::fabs(lastY - sy) > 1.0L) {
      lastX = sx;
      lastY = sy;
      emit(sx, sy);
      if (clipToHorizon) Ring_.Add(sx, sy, hidden);
    }
  }
  if (!clipToHorizon || !Ring_.AnyHidden()) return count;
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
