#pragma once
// Flat maps: plate carrée (TCartesianPrj) and Mercator (TMercatorPrj). Rotating a flat map pans
// it or moves its central meridian / parallel, as the projection's axis-change settings say.

#include "globe/view/ProjectionModel.h"

namespace globe {

class TCartesianPrj : public TProjectionModel {
 public:
  // Records the projection's current rotations, so that installing the model moves nothing.
  explicit TCartesianPrj(TGlobeProjection* projection);
  std::string ClassName() const override { return "TCartesianPrj"; }

  // Visible when the point lies inside the longitude/latitude rectangle (bounds inclusive).
  bool PointLLToXY(const TGeoPoint& point, int32_t index) override;
  // Succeeds only inside the longitude/latitude rectangle.
  bool XYToLL(int32_t x, int32_t y, int32_t index) override;
  // XRotation (0) and YRotation (1) changes pan the map or move the central parallel/meridian.
  void PropertyChanged(int32_t index) override;
  // The texture stretched over the map rectangle, or the world outline.
  void PaintSurface() override;
  void Assign(const TCustomProjectionModel& source) override;

  long double LastXRotation() const { return LastXRotation_; }
  long double LastYRotation() const { return LastYRotation_; }

 protected:
  std::unique_ptr<TCustomProjectionModel> CreateInstance(
      TGlobeProjection* projection) const override;
  // Device column of a longitude, relative to the central meridian.
  int32_t LongitudeToX(int32_t longX) const;
  // Longitude under a device column; false when it falls outside -180..180 degrees.
  bool XToLongitude(int32_t x, int32_t& longX) const;
  // Whether a point lies inside the extents rectangle (bounds inclusive).
  static bool InsideWorld(int64_t longX, int64_t latY);

 private:
  long double LastXRotation_ = 0;
  long double LastYRotation_ = 0;
};

class TMercatorPrj : public TCartesianPrj {
 public:
  using TCartesianPrj::TCartesianPrj;
  std::string ClassName() const override { return "TMercatorPrj"; }

  // Latitudes are clamped just inside the poles (±485,999,999), so the poles stay finite.
  bool PointLLToXY(const TGeoPoint& point, int32_t index) override;
  bool XYToLL(int32_t x, int32_t y, int32_t index) override;
  // Always the world outline: a plate carrée texture does not fit Mercator's latitudes.
  void PaintSurface() override;
  // Latitudes are stretched away from the equator.
  bool ScaleIsUpperBound() const override { return false; }

 protected:
  std::unique_ptr<TCustomProjectionModel> CreateInstance(
      TGlobeProjection* projection) const override;
};

}  // namespace globe
