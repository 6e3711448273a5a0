#include "globe/view/Voduz4.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeLayer.h"
#include "globe/data/GlobeLayerStore.h"
#include "globe/data/GlobeObject.h"
#include "globe/data/XmlElement.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/LayerRenderer.h"
#include "globe/view/ObjectDrawing.h"
#include "globe/view/SamePixel.h"

namespace globe {

namespace {

constexpr long double kDegreeGU = 5'400'000.0L;
constexpr long double kMaxWindowGU = 2'147'483'647.0L;
// Zoom bands narrower or lower than this (pixels) zoom nothing.
constexpr int32_t kMinZoomBand = 10;
// Mouse hit tolerance in pixels.
constexpr int32_t kHitPixels = 3;

bool NoModifier(const platform::ShiftState& shift) { return !shift.Shift && !shift.Alt && !shift.Ctrl; }

// The rectangle with Left <= Right and Top <= Bottom.
platform::TRect Normalised(platform::TRect r) {
  if (r.Right < r.Left) std::swap(r.Left, r.Right);
  if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
  return r;
}

// Rotates `v` by `angle` radians about the unit axis `k` (right-hand rule).
TVec3 RotateAbout(const TVec3& v, const TVec3& k, long double angle) {
  long double s, c;
  SinCos(angle, s, c);
  const TVec3 kxv{k.Y * v.Z - k.Z * v.Y, k.Z * v.X - k.X * v.Z, k.X * v.Y - k.Y * v.X};
  const long double kv = Vec3Dot(k, v);
  return TVec3{v.X * c + kxv.X * s + k.X * kv * (1 - c), v.Y * c + kxv.Y * s + k.Y * kv * (1 - c),
               v.Z * c + kxv.Z * s + k.Z * kv * (1 - c)};
}

TVec3 UnitVector(const TGeoPoint& p) {
  long double sinLat, cosLat, sinLong, cosLong;
  SinCos(p.LatY / kDegreeGU * std::numbers::pi_v<long double> / 180, sinLat, cosLat);
  SinCos(p.LongX / kDegreeGU * std::numbers::pi_v<long double> / 180, sinLong, cosLong);
  return TVec3{cosLat * sinLong, sinLat, cosLat * cosLong};
}

TGeoPoint PointOfVector(const TVec3& v) {
  constexpr long double toGU = 180 * kDegreeGU / std::numbers::pi_v<long double>;
  const TVec3 u = Vec3Normalise(v);
  return TGeoPoint(RoundToInt(ArcTan2(u.X, u.Z) * toGU), RoundToInt(ArcSin(u.Y) * toGU), 0);
}

// The geographic limits of a flat map in window pixels.
void LimitsOnDevice(const TGlobeProjection& p, int64_t& left, int64_t& top, int64_t& right,
                    int64_t& bottom) {
  platform::TPoint a, b;
  p.LLToDeviceXY(RoundToInt(p.MinLongitude() * kDegreeGU), RoundToInt(p.MinLatitude() * kDegreeGU), a);
  p.LLToDeviceXY(RoundToInt(p.MaxLongitude() * kDegreeGU), RoundToInt(p.MaxLatitude() * kDegreeGU), b);
  left = std::min(a.X, b.X);
  right = std::max(a.X, b.X);
  top = std::min(a.Y, b.Y);
  bottom = std::max(a.Y, b.Y);
}

int32_t ClampToInt32(long double v) {
  return static_cast<int32_t>(std::nearbyint(std::clamp<long double>(v, INT32_MIN, INT32_MAX)));
}

// One bar for a map spanning first..last pixels of a window `size` pixels long whose origin lies
// at `origin`, in GlobeUnit counted from the origin. Shown when the map reaches at least a pixel
// beyond the window.
platform::ScrollBarState ScrollBarOf(long double first, long double last, int32_t size,
                                     int32_t origin, long double scale) {
  platform::ScrollBarState bar;
  const long double beyond = std::max(0.0L, -first) + std::max(0.0L, last - size);
  if (!(beyond >= 1)) return bar;
  const auto units = [&](long double pixel) { return ClampToInt32((pixel - origin) / scale); };
  bar.Visible = true;
  bar.Position = units(0);
  bar.Page = std::max(1, ClampToInt32(size / scale));
  bar.Min = std::min(units(first), bar.Position);
  // The range holds the window wherever it is.
  const int64_t end = std::max<int64_t>(units(last), int64_t{bar.Position} + bar.Page);
  bar.Max = static_cast<int32_t>(std::min<int64_t>(end, INT32_MAX));
  bar.Position = static_cast<int32_t>(std::min<int64_t>(bar.Position, int64_t{bar.Max} - bar.Page));
  bar.Min = std::min(bar.Min, bar.Position);
  return bar;
}

}  // namespace

TVoduz4::TVoduz4() {
  Canvas_ = std::make_unique<TGlobeCanvas>(this);
  Projection_ = std::make_unique<TGlobeProjection>(this);
  InstallObjectDrawing();
}

TVoduz4::~TVoduz4() {
  // Layers and sources go first: their ends are reported to a view that still has its canvas.
  ClearEnvironment();
}

// ---- Host ------------------------------------------------------------------------------------

void TVoduz4::SetHost(platform::ViewHost* host) {
  Host_ = host;
  if (Host_ != nullptr) {
    Canvas_->SetScreenResolution(Host_->ScreenPixelsPerInch());
    // On a high-density screen the picture has more pixels to the inch than the screen's
    // nominal resolution: pixel-sized pens and fonts keep their size on the screen.
    Canvas_->SetOutputResolution(
        static_cast<int32_t>(std::lround(Host_->ScreenPixelsPerInch() * std::max(1.0, Host_->DevicePixelRatio()))));
    const platform::TSize size = Host_->ClientSize();
    Resize(size.Width, size.Height);
    ShowScrollBars(true);
  }
}

int32_t TVoduz4::CanvasWidth() const { return Canvas_ ? Canvas_->Width() : ClientWidth_; }
int32_t TVoduz4::CanvasHeight() const { return Canvas_ ? Canvas_->Height() : ClientHeight_; }

void TVoduz4::DoPanned() {
  if (OnPanned) OnPanned(*this);
}

void TVoduz4::DoZoomed() {
  if (OnZoomed) OnZoomed(*this);
}

void TVoduz4::InvalidateWindow() {
  if (Host_ != nullptr) Host_->Invalidate();
}

void TVoduz4::UpdateScrollBars() {
  if (UpdatingLimits_ || !Projection_ || !Canvas_) return;
  KeepWithinLimits();
  ShowScrollBars(false);
}

// UseMinMaxLimits on flat maps: a limited range smaller than the window is zoomed up to fill it,
// otherwise the origin is pushed back so that the view stays within the limits.
void TVoduz4::KeepWithinLimits() {
  TGlobeProjection& p = *Projection_;
  if (!p.UseMinMaxLimits() || (p.ModelFlags() & mfHorizonClip) != 0) return;
  UpdatingLimits_ = true;
  struct Done {
    bool& Flag;
    ~Done() { Flag = false; }
  } done{UpdatingLimits_};
  const int64_t w = Canvas_->Width(), h = Canvas_->Height();
  const auto limits = [&p](int64_t& left, int64_t& top, int64_t& right, int64_t& bottom) {
    LimitsOnDevice(p, left, top, right, bottom);
  };
  int64_t left, top, right, bottom;
  limits(left, top, right, bottom);
  if (right <= left || bottom <= top) return;
  if (right - left < w || bottom - top < h) {
    const long double grow = std::max(static_cast<long double>(w) / (right - left),
                                      static_cast<long double>(h) / (bottom - top));
    p.SetScaleFactor(p.ScaleFactor() * grow);
    limits(left, top, right, bottom);
  }
  int64_t dx = 0, dy = 0;
  if (left > 0)
    dx = -left;
  else if (right < w)
    dx = w - right;
  if (top > 0)
    dy = -top;
  else if (bottom < h)
    dy = h - bottom;
  if (dx != 0) p.SetIntProp(prXOrigin, Wrap32(p.XOrigin() + dx));
  if (dy != 0) p.SetIntProp(prYOrigin, Wrap32(p.YOrigin() + dy));
}

void TVoduz4::ShowScrollBars(bool always) {
  const TGlobeProjection& p = *Projection_;
  const long double scale = p.ScaleFactor();
  platform::ScrollBarState horz, vert;
  if (ScrollBars_ != ssNone && scale > 0) {
    // The map's span in window pixels.
    long double left, top, right, bottom;
    if (p.UseMinMaxLimits() && (p.ModelFlags() & mfHorizonClip) == 0) {
      int64_t l, t, r, b;
      LimitsOnDevice(p, l, t, r, b);
      left = l, top = t, right = r, bottom = b;
    } else {
      platform::TRect e;
      p.GetXYExtents(e);
      // The plane's y grows northward, the window's downward.
      left = p.XOrigin() + e.Left * scale;
      right = p.XOrigin() + e.Right * scale;
      top = p.YOrigin() - std::max(e.Top, e.Bottom) * scale;
      bottom = p.YOrigin() - std::min(e.Top, e.Bottom) * scale;
    }
    if (ScrollBars_ != ssVertical) horz = ScrollBarOf(left, right, Canvas_->Width(), p.XOrigin(), scale);
    if (ScrollBars_ != ssHorizontal) vert = ScrollBarOf(top, bottom, Canvas_->Height(), p.YOrigin(), scale);
  }
  const bool horzChanged = !(horz == HorzBar_), vertChanged = !(vert == VertBar_);
  HorzBar_ = horz;
  VertBar_ = vert;
  if (Host_ == nullptr) return;
  if (always || horzChanged) Host_->SetScrollBar(platform::ScrollBarKind::Horizontal, horz);
  if (always || vertChanged) Host_->SetScrollBar(platform::ScrollBarKind::Vertical, vert);
}

platform::ScrollBarState TVoduz4::ScrollBar(platform::ScrollBarKind bar) const {
  return bar == platform::ScrollBarKind::Horizontal ? HorzBar_ : VertBar_;
}

void TVoduz4::Scroll(platform::ScrollBarKind bar, int32_t position) {
  const platform::ScrollBarState state = ScrollBar(bar);
  if (!state.Visible) return;
  const int64_t last = std::max<int64_t>(state.Min, int64_t{state.Max} - state.Page);
  const int64_t delta = std::clamp<int64_t>(position, state.Min, last) - state.Position;
  if (delta == 0) return;
  const int32_t step = static_cast<int32_t>(std::clamp<int64_t>(delta, INT32_MIN, INT32_MAX));
  if (bar == platform::ScrollBarKind::Horizontal)
    ScrollBy(step, 0);
  else
    ScrollBy(0, step);
}

void TVoduz4::SetScrollBars(TScrollStyle style) {
  if (style == ScrollBars_) return;
  ScrollBars_ = style;
  UpdateScrollBars();
  RedrawGlobe();
}

platform::Pen TVoduz4::SelectedPen() const {
  return Projection_ && Projection_->FarSide() ? TransparentPen_ : SelectedPen_;
}

platform::Brush TVoduz4::SelectedBrush() const {
  return Projection_ && Projection_->FarSide() ? TransparentBrush_ : SelectedBrush_;
}

// ---- Hooks of the view core ------------------------------------------------------------------

bool TVoduz4::SamePixel(const TGeoPoint& a, const TGeoPoint& b) const {
  return globe::SamePixel(const_cast<TVoduz4&>(*this), a, b);
}

bool TVoduz4::DeviceXYToLL(int x, int y, TGeoPoint& point) const {
  return Projection_ && Projection_->DeviceXYToLL(x, y, point);
}

int32_t TVoduz4::HitTolerance() const {
  const long double scale = Projection_ ? Projection_->ScaleFactor() : 0;
  if (!(scale > 0)) return 0;
  return RoundToInt(std::min<long double>(kHitPixels / scale, kMaxWindowGU));
}

std::unique_ptr<TGXML_Element> TVoduz4::SaveProjectionEnvironment() const {
  return Projection_->SaveEnvironment();
}

void TVoduz4::LoadProjectionEnvironment(const TGXML_Element* element) {
  if (element != nullptr) Projection_->LoadEnvironment(element);
}

int32_t TVoduz4::MinTextHeight() const {
  return MulDiv(TCustomVoduz4::MinTextHeight(), Canvas_->OutputResolution(), Canvas_->ScreenResolution());
}

int32_t TVoduz4::MaxTextHeight() const {
  return MulDiv(TCustomVoduz4::MaxTextHeight(), Canvas_->OutputResolution(), Canvas_->ScreenResolution());
}

// ---- Appearance ------------------------------------------------------------------------------

void TVoduz4::SetColor(TColor color) {
  Color_ = color;
  RedrawGlobe();
}

void TVoduz4::SetBackgroundImage(const platform::Bitmap24& image) {
  BackgroundImage_ = image;
  RedrawGlobe();
}

void TVoduz4::SetSelectedPen(const platform::Pen& pen) {
  SelectedPen_ = pen;
  RedrawGlobe();
}

void TVoduz4::SetSelectedBrush(const platform::Brush& brush) {
  SelectedBrush_ = brush;
  RedrawGlobe();
}

void TVoduz4::SetTransparentPen(const platform::Pen& pen) {
  TransparentPen_ = pen;
  RedrawGlobe();
}

void TVoduz4::SetTransparentBrush(const platform::Brush& brush) {
  TransparentBrush_ = brush;
  RedrawGlobe();
}

void TVoduz4::SetGraticulePen(const platform::Pen& pen) {
  GraticulePen_ = pen;
  RedrawGlobe();
}

void TVoduz4::SetGraticuleDrawMode(TGraticuleDraw mode) {
  if (mode > gdInFront) return;
  GraticuleDrawMode_ = mode;
  RedrawGlobe();
}

void TVoduz4::SetGraticuleLatitudeStep(int32_t step) {
  if (step < 0 || step > 89) return;
  GraticuleLatitudeStep_ = step;
  RedrawGlobe();
}

void TVoduz4::SetGraticuleLongitudeStep(int32_t step) {
  if (step < 0 || step > 179) return;
  GraticuleLongitudeStep_ = step;
  RedrawGlobe();
}

// ---- Paint cycle ---------------------------------------------------------------------------

void TVoduz4::Paint(platform::DrawingSurface& window) {
  if (Painting_) return;
  Painting_ = true;
  Interrupted_ = false;
  try {
    PaintFrame(window);
  } catch (...) {
    FinishPaint();
    throw;
  }
  FinishPaint();
  if (!Interrupted_)
    RecalculateCacheMemory();
  else
    RedrawGlobe();  // an abandoned render is done again by the next paint
}

void TVoduz4::FinishPaint() {
  Canvas_->EndBuffered();
  Canvas_->SetWindowSurface(nullptr);
  RedrawDone();
  Painting_ = false;
  if (PendingSize_) {
    const platform::TSize size = *PendingSize_;
    PendingSize_.reset();
    Resize(size.Width, size.Height);
  }
}

void TVoduz4::PaintFrame(platform::DrawingSurface& window) {
  TGlobeCanvas& canvas = *Canvas_;
  const bool buffered = HasGlobeOption(goDoubleBuffered);
  canvas.SetWindowSurface(&window);
  if (buffered) canvas.BeginBuffered();
  canvas.ResetState();

  if (RedrawNeeded() || !buffered) {
    const auto render = [this] {
      PaintBackground();
      RenderLayersAndTitles();
    };
    // The window may draw its own bitmap on another thread (see ViewHost::RunDrawing).
    if (buffered && Host_ != nullptr) {
      Host_->RunDrawing(render);
    } else {
      render();
    }
  }
  if (buffered) {
    canvas.EndBuffered();
    window.DrawBitmap(0, 0, canvas.Bitmap(),
                      platform::TRect{0, 0, canvas.Bitmap().Width(), canvas.Bitmap().Height()});
  }
  if (ZoomBand_) window.DrawFocusRect(Normalised(Band_));
  RenderLayerPass(true);
  if (!Interrupted_ && OnPaint) {
    canvas.ResetState();
    OnPaint(*this);
    canvas.ResetState();
  }
}

void TVoduz4::RenderLayersAndTitles() {
  TGlobeCanvas& canvas = *Canvas_;
  Titles_.Clear();
  Titles_.SetOptions(LabelOptions());
  Titles_.SetArea({0, 0, CanvasWidth(), CanvasHeight()});
  RenderLayers();
  if (!Interrupted_ && OnRender) {
    canvas.ResetState();
    OnRender(*this);
  }
  if (TitleSpace() != nullptr && !Interrupted_) {
    Titles_.Flush(canvas.Surface());
    canvas.ResetState();
  }
}

TLabelOptions TVoduz4::LabelOptions() const {
  TLabelOptions options;
  options.Place = LabelLook_.Place;
  options.Halo = LabelLook_.Halo;
  options.HaloWidth = DevicePixels(1);
  // The map's own background (the sea) around the letters.
  options.HaloColour = SurfaceColor();
  // 8 points at the screen's logical resolution, in the picture's pixels.
  constexpr int32_t kMinLegiblePoints = 8;
  if (LabelLook_.MinLegibleSize)
    options.MinPixelHeight = static_cast<int32_t>(std::lround(kMinLegiblePoints * Canvas_->OutputResolution() / 72.0));
  return options;
}

void TVoduz4::SetLabelLook(const TLabelLook& look) {
  if (look == LabelLook_) return;
  LabelLook_ = look;
  RedrawGlobe();
}

double TVoduz4::DevicePixelRatio() const {
  const int32_t screen = Canvas_->ScreenResolution();
  return screen > 0 ? std::max(1.0, static_cast<double>(Canvas_->OutputResolution()) / screen) : 1.0;
}

int32_t TVoduz4::DevicePixels(int32_t logical) const {
  if (logical <= 0) return logical;
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(logical * DevicePixelRatio())));
}

void TVoduz4::SetTitlePriority(std::function<int(const std::string& layerName)> priority) {
  TitlePriority_ = std::move(priority);
  RedrawGlobe();
}

void TVoduz4::PaintBackground() {
  TGlobeCanvas& canvas = *Canvas_;
  const platform::Pen pen = canvas.CanvasState().CurrentPen;
  const platform::Brush brush = canvas.CanvasState().CurrentBrush;
  platform::DrawingSurface& surface = canvas.Surface();
  const int32_t w = canvas.Width(), h = canvas.Height();
  if (BackgroundImage_.Empty()) {
    canvas.SetBrush(platform::Brush{platform::BrushKind::Solid, Color_});
    surface.FillRect(platform::TRect{0, 0, w, h});
  } else {
    const int32_t iw = BackgroundImage_.Width(), ih = BackgroundImage_.Height();
    for (int32_t y = 0; y < h; y += ih)
      for (int32_t x = 0; x < w; x += iw)
        surface.DrawBitmap(x, y, BackgroundImage_, platform::TRect{0, 0, iw, ih});
  }
  if (!HasGlobeOption(goTransparentGlobe)) {
    canvas.SetPen(platform::Pen{SurfaceColor()});
    canvas.SetBrush(platform::Brush{platform::BrushKind::Solid, SurfaceColor()});
    Projection_->ProjectionModel().PaintSurface();
  }
  // The application's pen and brush again for what follows.
  canvas.SetPen(pen);
  canvas.SetBrush(brush);
}

void TVoduz4::DrawGraticule() {
  TGlobeCanvas& canvas = *Canvas_;
  const platform::Pen pen = canvas.CanvasState().CurrentPen;
  const platform::BackgroundMode mode = canvas.CanvasState().Background;
  canvas.SetPen(Projection_->FarSide() ? TransparentPen_ : GraticulePen_);
  canvas.SetBackgroundMode(platform::BackgroundMode::Transparent);
  if (OnPaintGraticule) {
    canvas.ResetState();
    OnPaintGraticule(*this);
    canvas.ResetState();
  } else {
    Projection_->ProjectionModel().PaintGraticule();
  }
  canvas.SetPen(pen);
  canvas.SetBackgroundMode(mode);
}

void TVoduz4::RenderLayerPass(bool animated) {
  LayerStore().ForEachLayer(animated, [this](TGlobeLayer& layer) { RenderLayer(*this, layer); });
}

void TVoduz4::SetLevelsOfDetailEnabled(bool enabled) {
  if (enabled == LevelsEnabled_) return;
  LevelsEnabled_ = enabled;
  if (!enabled) Levels_.Clear();
  RedrawGlobe();
}

void TVoduz4::RenderLayers() {
  Levels_.KeepSourcesOf(*this);
  if (HasGlobeOption(goTransparentGlobe)) {
    Projection_->SetFarSide(true);
    struct NearSide {
      TGlobeProjection& P;
      ~NearSide() { P.SetFarSide(false); }
    } nearSide{*Projection_};
    RenderLayerPass(false);
    if (GraticuleDrawMode_ != gdNone) DrawGraticule();
  }
  if (GraticuleDrawMode_ == gdBehind) DrawGraticule();
  RenderLayerPass(false);
  if (GraticuleDrawMode_ == gdInFront) DrawGraticule();
}

void TVoduz4::ProcessPendingEvents() {
  if (Host_ != nullptr) Host_->ProcessPendingEvents();
}

void TVoduz4::FlushBufferToWindow() {
  if (Host_ != nullptr && !Host_->HasParentWindow()) return;
  platform::DrawingSurface* window = Canvas_->WindowSurface();
  if (window == nullptr || !Canvas_->IsBuffered()) return;
  window->DrawBitmap(0, 0, Canvas_->Bitmap(),
                     platform::TRect{0, 0, Canvas_->Bitmap().Width(), Canvas_->Bitmap().Height()});
}

void TVoduz4::RenderToCanvas(platform::DrawingSurface& target, const platform::TRect& rect,
                             bool doubleBuffered) {
  if (RenderingToCanvas_ || rect.Width() <= 0 || rect.Height() <= 0) return;
  RenderingToCanvas_ = true;
  std::unique_ptr<TGlobeProjection> projection = Projection_->Clone(this);
  auto canvas = std::make_unique<TGlobeCanvas>(this);
  canvas->SetOutputResolution(Canvas_->OutputResolution());
  canvas->SetScreenResolution(Canvas_->ScreenResolution());
  canvas->SetSize(static_cast<int32_t>(rect.Width()), static_cast<int32_t>(rect.Height()));
  const TGlobeOptions savedOptions = GlobeOptions();
  TGlobeOptions options = savedOptions;
  options.Exclude(goInterruptable);
  if (doubleBuffered)
    options.Include(goDoubleBuffered);
  else
    options.Exclude(goDoubleBuffered);
  std::swap(Projection_, projection);
  std::swap(Canvas_, canvas);
  TCustomVoduz4::SetGlobeOptions(options);
  struct Restore {
    TVoduz4& View;
    std::unique_ptr<TGlobeProjection>& Projection;
    std::unique_ptr<TGlobeCanvas>& Canvas;
    TGlobeOptions Options;
    ~Restore() {
      View.Canvas_->EndBuffered();
      View.Canvas_->SetWindowSurface(nullptr);
      std::swap(View.Projection_, Projection);
      std::swap(View.Canvas_, Canvas);
      View.TCustomVoduz4::SetGlobeOptions(Options);
      View.RenderingToCanvas_ = false;
    }
  } restore{*this, projection, canvas, savedOptions};

  Interrupted_ = false;
  TGlobeCanvas& c = *Canvas_;
  c.SetWindowSurface(&target);
  if (doubleBuffered) c.BeginBuffered();
  c.ResetState();
  PaintBackground();
  RenderLayersAndTitles();
  if (doubleBuffered) {
    c.EndBuffered();
    target.DrawBitmap(rect.Left, rect.Top, c.Bitmap(),
                      platform::TRect{0, 0, c.Bitmap().Width(), c.Bitmap().Height()});
  }
  RenderLayerPass(true);
  if (OnPaint) {
    c.ResetState();
    OnPaint(*this);
    c.ResetState();
  }
}

// ---- Resizing --------------------------------------------------------------------------------

void TVoduz4::Resize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (Painting_) {
    // Events let in during a render (interruption) wait until the canvas is free.
    PendingSize_ = platform::TSize{width, height};
    return;
  }
  ClientWidth_ = width;
  ClientHeight_ = height;
  if (width == Canvas_->Width() && height == Canvas_->Height()) return;
  Canvas_->SetSize(width, height);
  UpdateScrollBars();
  // Every size is answered with both bars: a window may have kept one the view had hidden.
  ShowScrollBars(true);
  RedrawGlobe();
}

void TVoduz4::ResizeZoom(int32_t oldW, int32_t oldH, int32_t newW, int32_t newH) {
  TGlobeProjection& p = *Projection_;
  const long double scale = p.ScaleFactor();
  if (!(scale > 0)) return;
  long double s = scale * Hypot(newW, newH) / Hypot(oldW, oldH);
  s = std::min(s, MaxScaleFactor);
  const long double widest = std::max(newW, newH);
  if (widest / s > kMaxWindowGU) s = widest / kMaxWindowGU;
  p.SetIntProp(prXOrigin, RoundToInt((p.XOrigin() - oldW / 2.0L) / scale * s + newW / 2.0L));
  p.SetIntProp(prYOrigin, RoundToInt((p.YOrigin() - oldH / 2.0L) / scale * s + newH / 2.0L));
  p.SetResizedScaleFactor(s, newW, newH);
}

void TVoduz4::CanvasResizing(int32_t newWidth, int32_t newHeight) {
  if (RenderingToCanvas_ || !Projection_) return;
  TGlobeProjection& p = *Projection_;
  const int32_t oldW = Canvas_->Width(), oldH = Canvas_->Height();
  const platform::TPoint oldOrigin{p.XOrigin(), p.YOrigin()};
  TGeoPoint middle;
  const bool haveMiddle = p.DeviceXYToLL(oldW / 2, oldH / 2, middle);
  if (!HasGlobeOption(goConstantScaleOnResize)) ResizeZoom(oldW, oldH, newWidth, newHeight);
  if (!HasGlobeOption(goFixedCenterXYOnResize)) {
    if (haveMiddle) {
      platform::TPoint xy;
      p.PointLLToDeviceXY(middle, xy);
      p.SetIntProp(prXOrigin, Wrap32(int64_t{p.XOrigin()} + newWidth / 2 - xy.X));
      p.SetIntProp(prYOrigin, Wrap32(int64_t{p.YOrigin()} + newHeight / 2 - xy.Y));
    } else {
      p.SetIntProp(prXOrigin, MulDiv(oldOrigin.X, newWidth, oldW));
      p.SetIntProp(prYOrigin, MulDiv(oldOrigin.Y, newHeight, oldH));
    }
  }
}

// ---- Mouse -----------------------------------------------------------------------------------

bool TVoduz4::IsButton(TGlobeMouseButton which, platform::MouseButton button) const {
  switch (which) {
    case mzbLeft: return button == platform::MouseButton::Left;
    case mzbRight: return button == platform::MouseButton::Right;
    case mzbMiddle: return button == platform::MouseButton::Middle;
    default: return false;
  }
}

void TVoduz4::MouseDown(platform::MouseButton button, platform::ShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
  if (ZoomBand_) {  // a second press cancels the band
    EndZoomBand(false);
    return;
  }
  if (!NoModifier(shift) || shift.Double) return;
  if (OnClaimMouseDown && OnClaimMouseDown(*this, button, shift, x, y)) return;
  if (IsButton(MouseZoomButton, button)) {
    ZoomBand_ = true;
    Band_ = platform::TRect{x, y, x + 1, y + 1};
    if (Host_ != nullptr) Host_->SetMouseCapture(true);
    InvalidateWindow();
  } else if (IsButton(MouseRotateButton, button)) {
    TGeoPoint point;
    if (DeviceXYToLL(x, y, point)) {
      Grabbed_ = point;
      Rotating_ = true;
      if (Host_ != nullptr) Host_->SetMouseCapture(true);
    }
  }
}

void TVoduz4::MouseMove(platform::ShiftState shift, int x, int y) {
  if (ZoomBand_ || Rotating_) {
    if (HasGlobeOption(goInterruptable)) Interrupted_ = true;
  }
  if (ZoomBand_) {
    Band_.Right = x;
    Band_.Bottom = y;
    InvalidateWindow();
  } else if (Rotating_) {
    TGeoPoint current;
    if (DeviceXYToLL(x, y, current)) RotateToBring(Grabbed_, current);
  }
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TVoduz4::RotateToBring(const TGeoPoint& grabbed, const TGeoPoint& current) {
  TGlobeProjection& p = *Projection_;
  p.SetFloatProp(prXRotation, p.XRotation() + (int64_t{grabbed.LatY} - current.LatY) / kDegreeGU);
  p.SetFloatProp(prYRotation,
                 p.YRotation() + NormaliseLongitude(Wrap32(int64_t{grabbed.LongX} - current.LongX)) / kDegreeGU);
}

void TVoduz4::EndZoomBand(bool zoom) {
  ZoomBand_ = false;
  if (Host_ != nullptr) Host_->SetMouseCapture(false);
  if (zoom) {
    ZoomToBand(Band_);
  } else {
    InvalidateWindow();  // the next paint shows the buffer without the band
  }
}

void TVoduz4::ZoomToBand(const platform::TRect& corners) {
  const platform::TRect band = Normalised(corners);
  const long double scale = Projection_->ScaleFactor();
  if (band.Width() >= kMinZoomBand && band.Height() >= kMinZoomBand && scale > 0) {
    auto gu = [scale](int32_t v) { return RoundToInt(std::clamp<long double>(v / scale, -kMaxWindowGU, kMaxWindowGU)); };
    const int32_t left = gu(band.Left), top = gu(band.Top);
    const int32_t right = gu(band.Right), bottom = gu(band.Bottom);
    ZoomToRect(left, top, Wrap32(int64_t{right} - left), Wrap32(int64_t{bottom} - top));
    RedrawGlobe();
  } else {
    InvalidateWindow();  // the next paint shows the buffer without the band
  }
}

void TVoduz4::MouseUp(platform::MouseButton button, platform::ShiftState shift, int x, int y) {
  if (ZoomBand_) {
    Band_.Right = x;
    Band_.Bottom = y;
    EndZoomBand(true);
  }
  if (Rotating_) {
    Rotating_ = false;
    if (Host_ != nullptr) Host_->SetMouseCapture(false);
  }
  TGlobeObject* hit = LayerStore().ObjectAtPoint(x, y);
  const bool selectButton = IsButton(MouseSelectButton, button);
  if (NoModifier(shift) && selectButton) LayerStore().SetSelectedObject(hit);
  if (hit != nullptr) {
    if (HasGlobeOption(goMultiSelect) && shift.Ctrl && selectButton) hit->SetSelected(!hit->Selected());
    if (OnObjectClick && button == platform::MouseButton::Left) OnObjectClick(*this, hit);
  }
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TVoduz4::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TVoduz4::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(*this);
}

void TVoduz4::MouseWheel(platform::ShiftState shift, int delta, int x, int y) {
  if (OnMouseWheel) OnMouseWheel(*this, shift, delta, x, y);
}

bool TVoduz4::KeyDown(platform::ViewKey key, platform::ShiftState shift) {
  return OnKeyDown && OnKeyDown(*this, key, shift);
}

// ---- View operations -------------------------------------------------------------------------

void TVoduz4::ZoomToRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  TGlobeProjection& p = *Projection_;
  // A band given right to left or bottom to top covers the same rectangle.
  if (width < 0) {
    left = Wrap32(int64_t{left} + width);
    width = Wrap32(-int64_t{width});
  }
  if (height < 0) {
    top = Wrap32(int64_t{top} + height);
    height = Wrap32(-int64_t{height});
  }
  const int32_t w = CanvasWidth(), h = CanvasHeight();
  const long double scale = p.ScaleFactor();
  if (width == 0 || height == 0 || !(scale > 0)) {
    p.SetScaleFactor(0);
  } else {
    long double s = std::min(static_cast<long double>(w) / width, static_cast<long double>(h) / height);
    s = std::min(s, MaxScaleFactor);
    const int64_t cx = int64_t{left} + width / 2, cy = int64_t{top} + height / 2;
    const int32_t x = Wrap32(int64_t{RoundToInt(std::clamp<long double>((p.XOrigin() / scale - cx) * s, -kMaxWindowGU, kMaxWindowGU))} + w / 2);
    const int32_t y = Wrap32(int64_t{RoundToInt(std::clamp<long double>((p.YOrigin() / scale - cy) * s, -kMaxWindowGU, kMaxWindowGU))} + h / 2);
    const long double widest = std::max(w, h);
    if (widest / s > kMaxWindowGU) s = widest / kMaxWindowGU;
    if (s != scale) {
      // The zoom setter raises OnZoomed (not while loading) and sets the view extent.
      p.SetScaleFactor(s);
      p.SetIntProp(prXOrigin, x);
      p.SetIntProp(prYOrigin, y);
    }
  }
  UpdateScrollBars();
  RedrawGlobe();
}

void TVoduz4::ScrollBy(int32_t dx, int32_t dy) {
  TGlobeProjection& p = *Projection_;
  if (dx != 0 || dy != 0) {
    const long double scale = p.ScaleFactor();
    p.SetIntProp(prXOrigin, Wrap32(int64_t{p.XOrigin()} - RoundToInt(std::clamp<long double>(dx * scale, -kMaxWindowGU, kMaxWindowGU))));
    p.SetIntProp(prYOrigin, Wrap32(int64_t{p.YOrigin()} - RoundToInt(std::clamp<long double>(dy * scale, -kMaxWindowGU, kMaxWindowGU))));
    if (!IsLoading()) DoPanned();
  }
  UpdateScrollBars();
  RedrawGlobe();
}

void TVoduz4::LocateToLL(int32_t longX, int32_t latY) {
  Projection_->SetCenterLongitude(NormaliseLongitude(longX) / kDegreeGU);
  Projection_->SetCenterLatitude(latY / kDegreeGU);
}

void TVoduz4::LocateToObject(TGlobeObject* object) {
  if (object == nullptr) return;
  const TGeoPoint centre = object->GetCentroid();
  LocateToLL(centre.LongX, centre.LatY);
}

// ---- Drawing operations ------------------------------------------------------------------

void TVoduz4::RenderChain(TPointStore&& chain, uint16_t state) {
  TChainStore chains;
  chains.Add(std::make_unique<TPointStore>(std::move(chain)));
  Canvas_->RenderChainStore(chains, state, std::max(1, Canvas_->CanvasState().CurrentPen.Width));
}

void TVoduz4::RenderPolygon(std::span<const TGeoPoint> points) {
  TPointStore chain;
  for (const TGeoPoint& point : points) chain.Add(point);
  RenderChain(std::move(chain), rsClipAll | rsClosed);
}

void TVoduz4::RenderPolyline(std::span<const TGeoPoint> points) {
  TPointStore chain;
  for (const TGeoPoint& point : points) chain.Add(point);
  RenderChain(std::move(chain), rsClipAll);
}

void TVoduz4::RenderLine(const TGeoPoint& from, const TGeoPoint& to, int32_t segments) {
  if (segments < 1) segments = 1;
  TLineCache::TLine& line = Lines_.Get(from, to, segments, [&] {
    const int64_t dLat = int64_t{to.LatY} - from.LatY;
    int64_t dLong = int64_t{to.LongX} - from.LongX;
    const int32_t qFrom = from.LongX / 486'000'000, qTo = to.LongX / 486'000'000;
    if (qFrom != 0 && qTo != 0 && qFrom == -qTo) {  // the short way across the 180-degree meridian
      dLong = (1'944'000'000 - std::llabs(dLong)) * qFrom;
    }
    TPointStore chain;
    chain.SetCount(segments + 1);
    for (int32_t i = 0; i <= segments; ++i) {
      chain.SetPoint(i, TGeoPoint(Wrap32(int64_t{from.LongX} + MulDiv(dLong, i, segments)),
                                  Wrap32(int64_t{from.LatY} + MulDiv(dLat, i, segments)), 0));
    }
    return chain;
  });
  uint16_t state = rsPartlyHidden | rsPartlyVisible;
  if (!Projection_->ProjectionModel().GeoRectVisible(line.Bounds, state)) return;
  Canvas_->RenderChainStore(line.Chains, state, std::max(1, Canvas_->CanvasState().CurrentPen.Width));
}

void TVoduz4::RenderCircle(const TGeoPoint& centre, int32_t radius, int32_t segments) {
  if (segments < 3 || segments > 360) segments = 36;
  constexpr long double pi = std::numbers::pi_v<long double>;
  const TVec3 axis = UnitVector(centre);
  // The start point: the centre moved `radius` to the north along its meridian.
  long double sinLat, cosLat, sinLong, cosLong, sinR, cosR;
  SinCos(centre.LatY / kDegreeGU * pi / 180, sinLat, cosLat);
  SinCos(centre.LongX / kDegreeGU * pi / 180, sinLong, cosLong);
  SinCos(radius / kDegreeGU * pi / 180, sinR, cosR);
  const TVec3 north{-sinLat * sinLong, cosLat, -sinLat * cosLong};
  TVec3 v{axis.X * cosR + north.X * sinR, axis.Y * cosR + north.Y * sinR, axis.Z * cosR + north.Z * sinR};
  const long double step = 2 * pi / segments;
  TPointStore chain;
  for (int32_t i = 0; i <= segments; ++i) {
    chain.Add(PointOfVector(v));
    v = RotateAbout(v, axis, step);
  }
  RenderChain(std::move(chain), rsClipAll | rsPartlyHidden | rsPartlyVisible);
}

void TVoduz4::RenderGreatCircle(const TGeoPoint& from, const TGeoPoint& to, uint8_t mode) {
  constexpr long double pi = std::numbers::pi_v<long double>;
  const TVec3 a = UnitVector(from), b = UnitVector(to);
  long double angle = ArcCos(Vec3Dot(a, b));
  if (mode == 1)
    angle = 2 * pi - angle;
  else if (mode != 0)
    angle = 2 * pi;
  const int32_t n = static_cast<int32_t>(std::trunc(angle * 180 / pi));
  // Points too close or opposite have no defined plane: a straight line.
  const TVec3 axisRaw{a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
  const long double axisLength = std::sqrt(Vec3Dot(axisRaw, axisRaw));
  if (n < 1 || axisLength < 1e-12L) {
    RenderLine(from, to, 1);
    return;
  }
  const TVec3 axis{axisRaw.X / axisLength, axisRaw.Y / axisLength, axisRaw.Z / axisLength};
  // The long arc goes the other way round.
  // Positive turns about a x b lead from `from` towards `to` the short way; the long arc turns
  // the other way.
  const long double step = (mode == 1 ? -angle : angle) / n;
  TPointStore chain;
  TVec3 v = a;
  for (int32_t i = 0; i <= n; ++i) {
    chain.Add(i == 0 ? from : PointOfVector(v));
    v = RotateAbout(v, axis, step);
  }
  RenderChain(std::move(chain), rsClipAll | rsPartlyHidden | rsPartlyVisible);
}

void TVoduz4::RenderTextOut(int32_t longX, int32_t latY, const std::string& text,
                            TGlobeUnitTypes fontUnit) {
  if (!Projection_->ProjectionModel().LLToXY(longX, latY, 0)) return;
  const platform::TPoint at = DevicePoints()[0];
  TGlobeCanvas& canvas = *Canvas_;
  const platform::DrawingState& state = canvas.CanvasState();
  TextFont_.SetFontName(state.CurrentFont.Name);
  TextFont_.SetFontColor(state.TextColor);
  TextFont_.SetFontSize(state.CurrentFont.Height);
  TextFont_.SetFontUnit(fontUnit);
  TextFont_.SetFontAngle(0);
  TextFont_.SetFontStyle(TFontStyles{});
  if (TextFont_.Realize(canvas, false)) {
    platform::DrawingSurface& surface = canvas.Surface();
    surface.SetBackgroundMode(platform::BackgroundMode::Transparent);
    surface.SetTextAlign(platform::TextAlign{platform::HorizontalAlign::Left, platform::VerticalAlign::Top});
    surface.TextOut(at.X, at.Y, text);
  }
  canvas.ResetState();
}

}  // namespace globe
