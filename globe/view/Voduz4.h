#pragma once
// TVoduz4: the map control. It owns the projection and the canvas on top of the window-free view
// core, paints the globe in a fixed order (background, surface, graticule, layers, application
// drawing) with double buffering, turns mouse drags into zooming and rotating, selects objects
// under the mouse, follows resizes and offers the drawing operations the application uses inside
// OnRender and OnPaint. It stays free of the toolkit: it draws on a platform::DrawingSurface and
// takes the window's events as a platform::ViewEventSink; a platform window (QtViewWidget) hosts it
// and is reached through platform::ViewHost. Without a host it renders headless.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/PointStore.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/GlobeClasses.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/TitleSpace.h"
#include "globe/view/LevelOfDetail.h"
#include "globe/view/LineCache.h"
#include "platform/Bitmap24.h"
#include "platform/ViewEvents.h"

namespace globe {

class TGlobeCanvas;
class TGlobeLayer;
class TGlobeObject;

enum TGraticuleDraw : uint8_t { gdNone, gdBehind, gdInFront };
enum TGlobeMouseButton : uint8_t { mzbLeft, mzbRight, mzbMiddle, mzbNone };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TVoduz4 : private TGlobeClassesRegistration,
                public TCustomGlobeView,
                public platform::ViewEventSink {
 public:
  TVoduz4();
  ~TVoduz4() override;

  std::string ClassName() const override { return "TVoduz4"; }

  // ---- Host window ---------------------------------------------------------------------------
  // The window that shows the view (not owned; null: headless). Its client size becomes the
  // view's size.
  void SetHost(platform::ViewHost* host);
  platform::ViewHost* Host() const { return Host_; }
  // The client size of a headless view (a hosted view follows its window through Resize).
  void SetClientSize(int32_t width, int32_t height) { Resize(width, height); }

  // ---- Levels of detail (LevelOfDetail.h) ---------------------------------------------------
  // On by default; off, every object is drawn in full at every zoom.
  bool LevelsOfDetailEnabled() const { return LevelsEnabled_; }
  void SetLevelsOfDetailEnabled(bool enabled);
  TLevelOfDetailCache& LevelsOfDetail() { return Levels_; }

  // ---- Events -------------------------------------------------------------------------------
  std::function<void(TVoduz4&)> OnPanned, OnZoomed, OnRender, OnPaint, OnPaintGraticule,
      OnMouseEnter, OnMouseLeave, OnDblClick;
  std::function<void(TVoduz4&, TGlobeObject*)> OnObjectClick;
  std::function<void(TVoduz4&, TGlobeObject*, uint16_t state)> OnObjectRender;
  std::function<void(TVoduz4&, platform::MouseButton, platform::ShiftState, int x, int y)>
      OnMouseDown, OnMouseUp;
  std::function<void(TVoduz4&, platform::ShiftState, int x, int y)> OnMouseMove;
  std::function<void(TVoduz4&, platform::ShiftState, int delta, int x, int y)> OnMouseWheel;
  // A key for the view; true when the application used it.
  std::function<bool(TVoduz4&, platform::ViewKey, platform::ShiftState)> OnKeyDown;
  // Asked at a press, after OnMouseDown: true keeps the press (and its drag) for the application,
  // and the view starts neither its zoom band nor its rotation.
  std::function<bool(TVoduz4&, platform::MouseButton, platform::ShiftState, int x, int y)> OnClaimMouseDown;

  // ---- What the projection and the canvas see ------------------------------------------------
  TGlobeProjection& Projection() override { return *Projection_; }
  const TGlobeProjection& Projection() const { return *Projection_; }
  TGlobeCanvas& Canvas() override { return *Canvas_; }
  int32_t CanvasWidth() const override;
  int32_t CanvasHeight() const override;
  int32_t ClientWidth() const override { return ClientWidth_; }
  int32_t ClientHeight() const override { return ClientHeight_; }
  bool IsLoading() const override { return false; }
  void DoPanned() override;
  void DoZoomed() override;
  void UpdateScrollBars() override;
  void CanvasResizing(int32_t newWidth, int32_t newHeight) override;
  // During the far-side pass of a transparent globe the layers draw every object as selected,
  // and the selection colours are then the transparent pen and brush.
  platform::Pen SelectedPen() const override;
  platform::Brush SelectedBrush() const override;

  // ---- Hooks of the view core ----------------------------------------------------------------
  bool SamePixel(const TGeoPoint& a, const TGeoPoint& b) const override;
  bool DeviceXYToLL(int x, int y, TGeoPoint& point) const override;
  // Three pixels in GlobeUnit.
  int32_t HitTolerance() const override;
  void InvalidateWindow() override;
  std::unique_ptr<TGXML_Element> SaveProjectionEnvironment() const override;
  void LoadProjectionEnvironment(const TGXML_Element* element) override;
  // Stored values scaled by the canvas's output-to-screen resolution ratio.
  int32_t MinTextHeight() const override;
  int32_t MaxTextHeight() const override;

  // ---- Appearance -----------------------------------------------------------------------------
  TColor Color() const { return Color_; }
  void SetColor(TColor color);
  const platform::Bitmap24& BackgroundImage() const { return BackgroundImage_; }
  void SetBackgroundImage(const platform::Bitmap24& image);
  void SetSelectedPen(const platform::Pen& pen);
  void SetSelectedBrush(const platform::Brush& brush);
  platform::Pen TransparentPen() const { return TransparentPen_; }
  void SetTransparentPen(const platform::Pen& pen);
  platform::Brush TransparentBrush() const { return TransparentBrush_; }
  void SetTransparentBrush(const platform::Brush& brush);
  platform::Pen GraticulePen() const { return GraticulePen_; }
  void SetGraticulePen(const platform::Pen& pen);
  TGraticuleDraw GraticuleDrawMode() const { return GraticuleDrawMode_; }
  void SetGraticuleDrawMode(TGraticuleDraw mode);
  int32_t GraticuleLatitudeStep() const override { return GraticuleLatitudeStep_; }
  int32_t GraticuleLongitudeStep() const override { return GraticuleLongitudeStep_; }
  // Degrees; values outside 0..89 (latitude) and 0..179 (longitude) are ignored; 0 turns off.
  void SetGraticuleLatitudeStep(int32_t step);
  void SetGraticuleLongitudeStep(int32_t step);
  TScrollStyle ScrollBars() const { return ScrollBars_; }
  void SetScrollBars(TScrollStyle style);
  // The scroll bars as the view last set them (also without a host). Their unit is the GlobeUnit
  // of the projection's plane, counted from the origin: the range spans the map (the model's
  // extents, or the geographic limits with UseMinMaxLimits) and the window, the page is the
  // window and the position its left or top edge. A bar shows only when the style allows it and
  // the map reaches at least a pixel beyond that side of the window.
  platform::ScrollBarState ScrollBar(platform::ScrollBarKind bar) const;
  // Milliseconds; above 0 a long layer render shows its progress at this interval.
  int32_t PeriodicUpdateTime() const { return PeriodicUpdateTime_; }
  void SetPeriodicUpdateTime(int32_t ms) { PeriodicUpdateTime_ = ms; }

  TGlobeMouseButton MouseZoomButton = mzbRight;
  TGlobeMouseButton MouseSelectButton = mzbLeft;
  TGlobeMouseButton MouseRotateButton = mzbLeft;

  // ---- Paint cycle ------------------------------------------------------------------------
  // ViewEventSink: the window's events.
  void Paint(platform::DrawingSurface& window) override;
  void Resize(int width, int height) override;
  void MouseDown(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
  void MouseMove(platform::ShiftState shift, int x, int y) override;
  void MouseUp(platform::MouseButton button, platform::ShiftState shift, int x, int y) override;
  // Raises OnDblClick; the press before it and the release after it are ordinary events.
  void DoubleClick(int, int) override {
    if (OnDblClick) OnDblClick(*this);
  }
  void MouseEnter() override;
  void MouseLeave() override;
  // Raise OnMouseWheel and OnKeyDown.
  void MouseWheel(platform::ShiftState shift, int delta, int x, int y) override;
  bool KeyDown(platform::ViewKey key, platform::ShiftState shift) override;
  // Pans the view by the bar's move (ScrollBy).
  void Scroll(platform::ScrollBarKind bar, int32_t position) override;

  void PaintBackground();
  void DrawGraticule();
  void RenderLayers();
  // Renders the whole map once into another surface (printing, copying), on a copy of the
  // projection and a canvas of the rectangle's size.
  void RenderToCanvas(platform::DrawingSurface& target, const platform::TRect& rect,
                      bool doubleBuffered);

  // Titles that would overlap one already drawn are left out when a priority is given: layer
  // titles are then written after OnRender, by the priority of their layer's name (lower
  // first). Without one (the default) titles are written as their layers draw.
  void SetTitlePriority(std::function<int(const std::string& layerName)> priority);
  // The room for titles of the picture being drawn; null when titles are not decluttered.
  TTitleSpace* TitleSpace() { return TitlePriority_ ? &Titles_ : nullptr; }
  int TitlePriority(const std::string& layerName) const { return TitlePriority_ ? TitlePriority_(layerName) : 0; }
  // The label look while titles are decluttered (all on by default): labels placed around their
  // points clear of marks and lines, a halo in the surface colour, no label below 8 pt at the screen's
  // logical resolution. All off gives the plain look.
  struct TLabelLook {
    bool Place = true;
    bool Halo = true;
    bool MinLegibleSize = true;
    friend bool operator==(const TLabelLook&, const TLabelLook&) = default;
  };
  const TLabelLook& LabelLook() const { return LabelLook_; }
  void SetLabelLook(const TLabelLook& look);
  // Pixels of the picture to one logical pixel of the screen (2 on a high-density screen).
  double DevicePixelRatio() const;
  // A length in logical pixels in the picture's pixels (at least 1 for a length above 0).
  int32_t DevicePixels(int32_t logical) const;
  void MarkDrawn(const platform::TRect& box) override {
    if (TitleSpace() != nullptr) Titles_.AddMark(box);
  }

  // Rendering state the layers consult.
  bool RenderInterrupted() const { return Interrupted_; }
  void SetRenderInterrupted(bool value) { Interrupted_ = value; }
  bool Painting() const { return Painting_; }
  // Lets pending window events in (so a mouse move can interrupt the render).
  void ProcessPendingEvents();
  // Copies the off-screen bitmap drawn so far to the window (periodic update).
  void FlushBufferToWindow();

  // ---- View operations ----------------------------------------------------------------------
  // Left, top, width and height in pixels divided by the ScaleFactor (as a zoom band gives
  // them); a width or height of 0 fits the whole map.
  void ZoomToRect(int32_t left, int32_t top, int32_t width, int32_t height);
  // Zooms to a band of pixels given corner to corner in any order, as the zoom band does when it
  // ends; a band narrower or lower than the least zoom band only repaints the window.
  void ZoomToBand(const platform::TRect& band);
  // GlobeUnit.
  void ScrollBy(int32_t dx, int32_t dy);
  void LocateToLL(int32_t longX, int32_t latY) override;
  void LocateToObject(TGlobeObject* object);
  // Turns the globe so that the `grabbed` point moves to where `current` is now seen (the
  // rotate drag's step).
  void RotateToBring(const TGeoPoint& grabbed, const TGeoPoint& current);
  void SaveView(TGlobeViewRec& view) const { Projection_->SaveView(view); }
  void RestoreView(const TGlobeViewRec& view) { Projection_->RestoreView(view); }

  // Zoom band and rotate drag as they stand (tests, hosts).
  bool ZoomBandActive() const { return ZoomBand_; }
  platform::TRect ZoomBandRect() const { return Band_; }
  bool Rotating() const { return Rotating_; }

  // ---- Drawing operations for OnRender and OnPaint (canvas pen, brush and font) --------------
  void RenderPolygon(std::span<const TGeoPoint> points);
  void RenderPolyline(std::span<const TGeoPoint> points);
  void RenderLine(const TGeoPoint& from, const TGeoPoint& to, int32_t segments) override;
  // A small circle of angular radius `radius` (GlobeUnit) in `segments` pieces (3..360, else 36).
  void RenderCircle(const TGeoPoint& centre, int32_t radius, int32_t segments);
  // Mode 0 the short arc, 1 the long arc, otherwise the whole great circle.
  void RenderGreatCircle(const TGeoPoint& from, const TGeoPoint& to, uint8_t mode);
  void RenderTextOut(int32_t longX, int32_t latY, const std::string& text, TGlobeUnitTypes fontUnit);

 private:
  // Draws a one-chain store with the state bits and the canvas pen width as clipping margin.
  void RenderChain(TPointStore&& chain, uint16_t state);
  void PaintFrame(platform::DrawingSurface& window);
  void FinishPaint();
  void RenderLayerPass(bool animated);
  // The placement stage's options from the label look and the canvas resolution.
  TLabelOptions LabelOptions() const;
  // The layers, OnRender, then the layers' titles that find room.
  void RenderLayersAndTitles();
  void EndZoomBand(bool zoom);
  bool IsButton(TGlobeMouseButton which, platform::MouseButton button) const;
  void ResizeZoom(int32_t oldW, int32_t oldH, int32_t newW, int32_t newH);
  void KeepWithinLimits();
  // Computes both bars and hands changed ones (all of them when `always`) to the host.
  void ShowScrollBars(bool always);

  platform::ViewHost* Host_ = nullptr;
  std::unique_ptr<TGlobeCanvas> Canvas_;
  std::unique_ptr<TGlobeProjection> Projection_;
  int32_t ClientWidth_ = 150;
  int32_t ClientHeight_ = 150;

  TColor Color_ = 0;
  platform::Bitmap24 BackgroundImage_;
  platform::Pen SelectedPen_{platform::clRed};
  platform::Brush SelectedBrush_{platform::BrushKind::Solid, platform::clYellow};
  platform::Pen TransparentPen_{0x808080};
  platform::Brush TransparentBrush_{platform::BrushKind::Solid, 0xC0C0C0};
  platform::Pen GraticulePen_{0xC0C0C0};
  TGraticuleDraw GraticuleDrawMode_ = gdBehind;
  int32_t GraticuleLatitudeStep_ = 15;
  int32_t GraticuleLongitudeStep_ = 15;
  TScrollStyle ScrollBars_ = ssBoth;
  platform::ScrollBarState HorzBar_, VertBar_;
  int32_t PeriodicUpdateTime_ = 0;
  TGlobeFont TextFont_;
  TTitleSpace Titles_;
  std::function<int(const std::string&)> TitlePriority_;
  TLabelLook LabelLook_;

  bool LevelsEnabled_ = true;
  TLevelOfDetailCache Levels_;
  TLineCache Lines_;
  bool Painting_ = false;
  std::optional<platform::TSize> PendingSize_;
  bool Interrupted_ = false;
  bool RenderingToCanvas_ = false;
  bool UpdatingLimits_ = false;
  bool ZoomBand_ = false;
  platform::TRect Band_;
  bool Rotating_ = false;
  TGeoPoint Grabbed_;
};

}  // namespace globe
