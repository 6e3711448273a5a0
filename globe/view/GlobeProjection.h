#pragma once
// The view state of one globe view: rotations, zoom, origin, flat-map settings and the
// projection model that does the arithmetic. Every property change is validated here, passed to
// the model as a numbered change notification and reported to the view, which redraws.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "globe/data/GeoTypes.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeENVPersistent.h"
#include "globe/view/ProjectionModel.h"
#include "platform/DeviceGeometry.h"

namespace globe {

class TCustomGlobeView;

// What rotating a flat map does.
enum TXAxisChanges : uint8_t { xaYOrigin, xaCentralParallel, xaNoAction };
enum TYAxisChanges : uint8_t { yaXOrigin, yaCentralMeridian, yaNoAction };

// Property numbers of the indexed setters and of the model's change notification.
enum TProjectionProperty : int32_t {
  prXRotation = 0,
  prYRotation = 1,
  prZRotation = 2,
  prScaleFactor = 3,
  prXOrigin = 4,
  prYOrigin = 5,
  prCentralMeridian = 6,
  prCentralParallel = 7,
  prFirstParallel = 8,
  prSecondParallel = 9,
  prXAxisChanges = 11,
  prYAxisChanges = 12,
  prMaxLatitude = 13,
  prMinLatitude = 14,
  prMaxLongitude = 15,
  prMinLongitude = 16,
  prMaxZoom = 17,
  prMinZoom = 18,
};
inline constexpr int32_t ProjectionPropertyCount = 19;  // numbers 0 to 18

// A saved view: zoom, origin and the rotations as rounded degrees × 5,400,000.
struct TGlobeViewRec {
  long double ScaleFactor = 0;
  platform::TPoint Origin;
  int32_t XRotation = 0;
  int32_t YRotation = 0;
  int32_t ZRotation = 0;
};

// The largest zoom (pixels per GlobeUnit) and the smallest one at creation.
inline constexpr long double MaxScaleFactor = 3.0L;
inline constexpr long double MinInitialScaleFactor = 1e-10L;
// Returned by CenterLatitude / CenterLongitude when the middle of the view is off the map.
inline constexpr long double NoCenter = 2'147'483'646.0L;
// Longitude and latitude of the point DeviceXYToLL gives for a pixel off the map.
inline constexpr int32_t OffMapGU = 972'000'000;

class TGlobeProjection : public TGlobeENVPersistent {
 public:
  // A null view raises EGlobeException "TGlobeProjection.Create passed nil parent". The view's
  // canvas size must be known: it gives the initial zoom and origin.
  explicit TGlobeProjection(TCustomGlobeView* view);
  ~TGlobeProjection() override;
  TGlobeProjection(const TGlobeProjection&) = delete;
  TGlobeProjection& operator=(const TGlobeProjection&) = delete;

  std::string ClassName() const override { return "TGlobeProjection"; }
  TCustomGlobeView& View() const { return *View_; }

  // --- indexed setters (property numbers above) ---
  virtual void SetIntProp(int32_t index, int32_t value);
  virtual void SetFloatProp(int32_t index, long double value);
  // Installs a model built for this projection (null: a new TSphericalPrj) and notifies it of
  // every property; keeps the point under the middle of the view when the class changes.
  virtual void SetProjectionModel(std::unique_ptr<TCustomProjectionModel> model);
  virtual void SetUseMinMaxLimits(bool value);
  virtual void SetXAxisChanges(TXAxisChanges value);
  virtual void SetYAxisChanges(TYAxisChanges value);
  // The zoom: pixels per GlobeUnit; 0 fits the whole map.
  virtual void SetScaleFactor(long double value);
  // The zoom of a window being resized to width x height: stores `value` (at most
  // MaxScaleFactor and no less than the 32-bit window rule allows) with the altitude and view
  // extent for the new size and tells the model. The origin is the caller's; no zoom event.
  void SetResizedScaleFactor(long double value, int32_t width, int32_t height);
  // The zoom as a view height; 0 fits the whole map.
  virtual void SetAltitude(int32_t value);
  // A new projection of the same class for `view`, assigned from this one.
  virtual std::unique_ptr<TGlobeProjection> Clone(TCustomGlobeView* view) const;

  // The environment element: the settings as attributes and the model as the child
  // "ProjectionModel". Loading applies each value through its setter, the current value being
  // the default; the model class must be a registered projection model.
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;
  void LoadEnvironment(const TGXML_Element* element) override;

  // Copies every setting except the view and UseMinMaxLimits; the model is cloned.
  void Assign(const TGlobeProjection& source);

  // --- properties ---
  int32_t XOrigin() const { return XOrigin_; }
  int32_t YOrigin() const { return YOrigin_; }
  void SetXOrigin(int32_t v) { SetIntProp(prXOrigin, v); }
  void SetYOrigin(int32_t v) { SetIntProp(prYOrigin, v); }
  int32_t Altitude() const { return Altitude_; }
  long double XRotation() const { return XRotation_; }
  long double YRotation() const { return YRotation_; }
  long double ZRotation() const { return ZRotation_; }
  void SetXRotation(long double v) { SetFloatProp(prXRotation, v); }
  void SetYRotation(long double v) { SetFloatProp(prYRotation, v); }
  void SetZRotation(long double v) { SetFloatProp(prZRotation, v); }
  long double MaxLatitude() const { return MaxLatitude_; }
  long double MinLatitude() const { return MinLatitude_; }
  long double MaxLongitude() const { return MaxLongitude_; }
  long double MinLongitude() const { return MinLongitude_; }
  long double MaxZoom() const { return MaxZoom_; }
  long double MinZoom() const { return MinZoom_; }
  void SetMaxLatitude(long double v) { SetFloatProp(prMaxLatitude, v); }
  void SetMinLatitude(long double v) { SetFloatProp(prMinLatitude, v); }
  void SetMaxLongitude(long double v) { SetFloatProp(prMaxLongitude, v); }
  void SetMinLongitude(long double v) { SetFloatProp(prMinLongitude, v); }
  void SetMaxZoom(long double v) { SetFloatProp(prMaxZoom, v); }
  void SetMinZoom(long double v) { SetFloatProp(prMinZoom, v); }
  long double ScaleFactor() const { return ScaleFactor_; }
  long double CentralMeridian() const { return CentralMeridian_; }
  long double CentralParallel() const { return CentralParallel_; }
  long double FirstParallel() const { return FirstParallel_; }
  long double SecondParallel() const { return SecondParallel_; }
  void SetCentralMeridian(long double v) { SetFloatProp(prCentralMeridian, v); }
  void SetCentralParallel(long double v) { SetFloatProp(prCentralParallel, v); }
  void SetFirstParallel(long double v) { SetFloatProp(prFirstParallel, v); }
  void SetSecondParallel(long double v) { SetFloatProp(prSecondParallel, v); }
  TSpheroid Spheroid() const { return Spheroid_; }
  void SetSpheroid(TSpheroid v) { Spheroid_ = v; }
  TXAxisChanges XAxisChanges() const { return XAxisChanges_; }
  TYAxisChanges YAxisChanges() const { return YAxisChanges_; }
  bool UseMinMaxLimits() const { return UseMinMaxLimits_; }

  // The point under the middle of the drawing surface, in degrees (NoCenter when off the map);
  // writing turns the map so that the given latitude / longitude comes under the middle.
  long double CenterLatitude() const;
  long double CenterLongitude() const;
  void SetCenterLatitude(long double degrees);
  void SetCenterLongitude(long double degrees);

  // The model's class name; writing a registered model class name installs a new model of it.
  std::string ProjectionClass() const;
  void SetProjectionClass(std::string_view className);

  TCustomProjectionModel& ProjectionModel() const { return *Model_; }

  // Written by the model.
  int32_t MeridianSegments() const { return MeridianSegments_; }
  int32_t ParallelSegments() const { return ParallelSegments_; }
  uint8_t ModelFlags() const { return ModelFlags_; }
  void SetMeridianSegments(int32_t v) { MeridianSegments_ = v; }
  void SetParallelSegments(int32_t v) { ParallelSegments_ = v; }
  void SetModelFlags(uint8_t v) { ModelFlags_ = v; }

  // Set by the view only while it draws the hidden hemisphere.
  bool FarSide() const { return FarSide_; }
  void SetFarSide(bool v) { FarSide_ = v; }

  // --- conversions (through the model and DevicePoints slot 0) ---
  // On failure the point is (972,000,000, 972,000,000, 0) and the result false.
  bool DeviceXYToLL(int32_t x, int32_t y, TGeoPoint& point) const;
  // `xy` receives the device point whether visible or not; the result is the visibility.
  bool LLToDeviceXY(int32_t longX, int32_t latY, platform::TPoint& xy) const;
  bool PointLLToDeviceXY(const TGeoPoint& point, platform::TPoint& xy) const;
  void GetXYExtents(platform::TRect& rect) const;

  // Moves the origin (raising the view's pan event when it changed) and redraws.
  void SetOrigin(platform::TPoint origin);

  // Saves and restores zoom, rotations and origin.
  void SaveView(TGlobeViewRec& view) const;
  void RestoreView(const TGlobeViewRec& view);

 private:
  // Stores `model` and sends it every property number.
  void InstallModel(std::unique_ptr<TCustomProjectionModel> model);
  // min(W / |extent width|, H / |extent height|) of the model's extents and the canvas.
  long double FitScale() const;

  TCustomGlobeView* View_;
  int32_t XOrigin_ = 0;
  int32_t YOrigin_ = 0;
  int32_t Altitude_ = 0;
  long double XRotation_ = 23.5L;
  long double YRotation_ = 0;
  long double ZRotation_ = 0;
  long double MaxLatitude_ = 90;
  long double MinLatitude_ = -90;
  long double MaxLongitude_ = 180;
  long double MinLongitude_ = -180;
  long double MaxZoom_ = 0;
  long double MinZoom_ = 0;
  long double ScaleFactor_ = 0;
  long double CentralMeridian_ = 0;
  long double CentralParallel_ = 0;
  long double FirstParallel_ = 0;
  long double SecondParallel_ = 0;
  TSpheroid Spheroid_ = TSpheroid::WGS84;
  TXAxisChanges XAxisChanges_ = xaYOrigin;
  TYAxisChanges YAxisChanges_ = yaCentralMeridian;
  std::unique_ptr<TCustomProjectionModel> Model_;
  int32_t MeridianSegments_ = 0;
  int32_t ParallelSegments_ = 0;
  uint8_t ModelFlags_ = 0;
  bool FarSide_ = false;
  bool UseMinMaxLimits_ = false;
};

// The class names a projection can take (SetProjectionClass), in registration order.
std::vector<std::string> ProjectionClassNames();

}  // namespace globe
