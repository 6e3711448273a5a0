#pragma once
// Projection models: the arithmetic that turns geographic positions into device pixels of the
// globe view and back, the visibility tests, and the drawing of the map background and the
// graticule. A TGlobeProjection owns exactly one model and forwards every conversion to it; the
// model reads the view state (rotations, ScaleFactor, origin, central meridian) from that
// projection. All output goes to the shared DevicePoints buffer.

#include <cstdint>
#include <memory>
#include <string>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeENVPersistent.h"
#include "globe/data/PointStore.h"
#include "platform/DeviceGeometry.h"

namespace globe {

class TGlobeProjection;

// Clipping margin of the map background: its clipped edges stay just outside the window.
inline constexpr int32_t kSurfaceClipMargin = 1;

// Bits of TGlobeProjection::ModelFlags.
inline constexpr uint8_t mfHorizonClip = 0x01;  // a hemisphere is hidden; polygons close along the horizon
inline constexpr uint8_t mfTextured = 0x02;     // the model can draw the surface texture

// Bits of the 16-bit render state word (the object state word) that the rectangle test sets
// and clears, and that the canvas reads.
inline constexpr uint16_t rsClosed = 0x0002;
inline constexpr uint16_t rsPartlyHidden = 0x0010;  // not every sample was visible (near side)
inline constexpr uint16_t rsPartlyVisible = 0x0020; // some sample was visible (near side)
inline constexpr uint16_t rsSelected = 0x0040;
inline constexpr uint16_t rsClipLeft = 0x0400;
inline constexpr uint16_t rsClipTop = 0x0800;
inline constexpr uint16_t rsClipRight = 0x1000;
inline constexpr uint16_t rsClipBottom = 0x2000;
inline constexpr uint16_t rsClipAll = 0x3C00;

class TCustomProjectionModel : public TGlobeENVPersistent {
 public:
  // The model belongs to `projection` (not owned); a null projection raises EGlobeException.
  explicit TCustomProjectionModel(TGlobeProjection* projection);
  ~TCustomProjectionModel() override = default;
  TCustomProjectionModel(const TCustomProjectionModel&) = delete;
  TCustomProjectionModel& operator=(const TCustomProjectionModel&) = delete;

  std::string ClassName() const override { return "TCustomProjectionModel"; }
  TGlobeProjection& Projection() const { return *Projection_; }

  // Projects the points of one chain into DevicePoints from `startIndex` on, dropping points
  // within one pixel of the last one written; returns the index after the last point written.
  virtual int32_t PointStoreToXY(TPointStore& store, int32_t startIndex, bool clipToHorizon) = 0;
  // One point into DevicePoints[index] (written even when hidden); returns the visibility.
  virtual bool LLToXY(int32_t longX, int32_t latY, int32_t index) = 0;
  virtual bool PointLLToXY(const TGeoPoint& point, int32_t index) = 0;
  // Device point to (LongX, LatY) in DevicePoints[index]; the slot is untouched on failure.
  virtual bool XYToLL(int32_t x, int32_t y, int32_t index) = 0;
  // The projected world in GlobeUnit (left, top, right, bottom).
  virtual void GetXYExtents(platform::TRect& rect) = 0;
  // Culling test of DevicePoints[0..count-1] against the canvas; `outCodes` receives the
  // out-codes of the minimum corner × 16 + those of the maximum corner.
  virtual bool DeviceExtentVisible(int32_t count, uint8_t& outCodes) = 0;
  // Culling test of a geographic rectangle; sets the visibility and clip bits of `stateFlags`.
  virtual bool GeoRectVisible(const TGeoRect& rect, uint16_t& stateFlags) = 0;
  // Property number `index` of the projection changed.
  virtual void PropertyChanged(int32_t index) = 0;
  virtual void PaintSurface() = 0;
  virtual void PaintGraticule() = 0;
  // Whether no part of the map is drawn at more than ScaleFactor pixels per GlobeUnit of
  // longitude or latitude, so that a geographic error of t GlobeUnit stays within
  // t x ScaleFactor pixels (what the levels of detail rely on).
  virtual bool ScaleIsUpperBound() const { return true; }

  // A model keeps no settings of its own: loading reads nothing, saving writes its class name
  // (attribute "Class").
  void LoadEnvironment(const TGXML_Element* element) override;
  std::unique_ptr<TGXML_Element> SaveEnvironment() const override;

  // Copies the model's state from another model (of any class).
  virtual void Assign(const TCustomProjectionModel& source);
  // A model of the same class for `newProjection`, assigned from this one.
  std::unique_ptr<TCustomProjectionModel> Clone(TGlobeProjection* newProjection) const;

 protected:
  // The virtual constructor: a new instance of the most derived class.
  virtual std::unique_ptr<TCustomProjectionModel> CreateInstance(
      TGlobeProjection* projection) const = 0;

 private:
  TGlobeProjection* Projection_;
};

// Shared implementation of the models whose world is the longitude/latitude rectangle.
class TProjectionModel : public TCustomProjectionModel {
 public:
  explicit TProjectionModel(TGlobeProjection* projection);
  std::string ClassName() const override { return "TProjectionModel"; }

  int32_t PointStoreToXY(TPointStore& store, int32_t startIndex, bool clipToHorizon) override;
  bool LLToXY(int32_t longX, int32_t latY, int32_t index) override;
  void GetXYExtents(platform::TRect& rect) override;
  bool DeviceExtentVisible(int32_t count, uint8_t& outCodes) override;
  bool GeoRectVisible(const TGeoRect& rect, uint16_t& stateFlags) override;
  void PaintSurface() override;
  void PaintGraticule() override;

 protected:
  // Writes the closed world outline (108 points, every 10 degrees along the edges of the
  // extents) into DevicePoints[0..107], as seen with central meridian 0; returns the count.
  int32_t BuildWorldOutline();
  // The projection's central meridian in GlobeUnit (unrounded); 0 while the outline is built.
  long double CentralMeridianGU() const;

 protected:
  // What the samples of a rectangle part (see GeoRectPartVisible) would all show, when the model
  // can tell it without them: every sample hidden, or every sample shown and drawn at least a
  // pixel inside the window. Unknown sends the test through the samples.
  enum class TSampleVerdict { Unknown, AllHidden, AllShownInside };
  virtual TSampleVerdict SampleVerdict(int64_t, int64_t, int64_t, int64_t) { return TSampleVerdict::Unknown; }

 private:
  bool BuildingOutline_ = false;

  // One part of the rectangle test (no dateline crossing); adds to `stateFlags`.
  bool GeoRectPartVisible(int64_t left, int64_t bottom, int64_t right, int64_t top,
                          uint16_t& stateFlags);
};

}  // namespace globe
