#pragma once
// Orthographic view of a rotatable globe: the model the editor uses.

#include <array>
#include <vector>

#include "globe/data/GeoMath.h"
#include "globe/view/DoubleProjection.h"
#include "globe/view/HorizonRing.h"
#include "globe/view/ProjectionModel.h"

namespace globe {

class TSphericalPrj : public TProjectionModel {
 public:
  explicit TSphericalPrj(TGlobeProjection* projection);
  std::string ClassName() const override { return "TSphericalPrj"; }

  // Chains go through the points' 3-D cache: one matrix product per point. Hidden points are
  // dropped, or pushed radially onto the horizon when `clipToHorizon` (closed shapes); such an
  // outline is mended where its horizon part winds round the disc wrongly (THorizonRing).
  // Long chains without a cache at hand go in blocks: a block wholly hidden, or wholly shown far
  // beyond one edge of the window, counts by its first and last points alone (the picture
  // inside the window does not depend on the path between them).
  int32_t PointStoreToXY(TPointStore& store, int32_t startIndex, bool clipToHorizon) override;
  // Visible on the near hemisphere (on the far one while the projection's FarSide is set).
  bool PointLLToXY(const TGeoPoint& point, int32_t index) override;
  // Points of the globe disc convert to the near hemisphere; others fail.
  bool XYToLL(int32_t x, int32_t y, int32_t index) override;
  void GetXYExtents(platform::TRect& rect) override;
  // Clamps XRotation into -90..90, wraps Y- and ZRotation, keeps the horizon radius and the
  // matrices up to date (indices 0 to 3).
  void PropertyChanged(int32_t index) override;
  // The globe disc, or the surface texture in triangles when one is loaded.
  void PaintSurface() override;
  void Assign(const TCustomProjectionModel& source) override;

  // Rotation × ScaleFactor (GlobeUnit to pixels) and its inverse.
  const TMatrix3& ForwardMatrix() const { return ForwardMatrix_; }
  const TMatrix3& InverseMatrix() const { return InverseMatrix_; }
  // Radius of the globe disc in pixels, and its square.
  long double HorizonRadius() const { return HorizonRadius_; }
  long double HorizonRadiusSq() const { return HorizonRadiusSq_; }

 protected:
  std::unique_ptr<TCustomProjectionModel> CreateInstance(
      TGlobeProjection* projection) const override;
  // From a cap round the rectangle's middle that holds all its samples: wholly behind the
  // horizon, or wholly in front of it and inside the window.
  TSampleVerdict SampleVerdict(int64_t left, int64_t bottom, int64_t right, int64_t top) override;

 private:
  void BuildMatrices();
  // The longitude/latitude box of a stretch of a long chain (longitudes unwrapped along it), and a
  // cap that holds its points: every one lies within Reach radians of Middle (a point of the
  // sphere in GlobeUnit; unset when Reach is half a radian or more).
  struct TBlockBox {
    int64_t MinX, MaxX;
    int32_t MinY, MaxY;
  };
  struct TBlockCap {
    std::array<double, 3> Middle{};
    double Reach = 0;
  };
  // The boxes of the runs of 16 points of [first, end), in one sweep; their union; their cap.
  static void RunBoxes(const TPointStore::TPackedView& points, int32_t first, int32_t end, TBlockBox* boxes);
  static TBlockBox Joined(const TBlockBox* boxes, int32_t count);
  static TBlockCap CapOf(const TBlockBox& box);
  // How a stretch of a long chain is passed (see PointStoreToXY).
  enum class TBlockWay { Walk, Beyond, Hidden };
  TBlockWay BlockWay(const TBlockCap& cap, bool clipToHorizon, bool horizonBeyond) const;
  // Whether every point of the cap is shown and projects to within one pixel (less `slack`) of
  // (x, y) on both axes, positions relative to the origin.
  bool ShownWithin(const TBlockCap& cap, long double x, long double y, double slack) const;
  // Whether the horizon lies beyond every corner of the window by twice the block margin.
  bool HorizonBeyondWindow() const;
  // The geographic point shown in the middle of the disc (its antipode for the far side).
  TGeoPoint MiddlePoint(bool farSide) const;
  // Whether a direction from the centre of the sphere lies on the shown hemisphere.
  bool FacesViewer(const TVec3& v) const;
  void PaintTextureTriangle(const TVec3& a, const TVec3& b, const TVec3& c, int depth);

  TMatrix3 ForwardMatrix_{};
  TDoubleProjection Fast_;  // ForwardMatrix_ in doubles
  TMatrix3 InverseMatrix_{};
  long double HorizonRadius_ = 0;
  long double HorizonRadiusSq_ = 0;
  THorizonRing Ring_;  // kept between chains to avoid reallocation
  std::vector<int32_t> Kept_;  // the kept points of an outline: index, or ~index when hidden
};

}  // namespace globe
