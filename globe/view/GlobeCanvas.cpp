#include "globe/view/GlobeCanvas.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <span>
#include <stdexcept>

#include "globe/data/GeoMath.h"
#include "globe/data/GlobeException.h"
#include "globe/view/CustomGlobeView.h"
#include "globe/view/DevicePoints.h"
#include "globe/view/GlobeProjection.h"
#include "globe/view/PolyClipper.h"
#include "globe/view/ProjectionModel.h"

namespace globe {
namespace {

using platform::TPoint;

// The clipper's second buffer, as large as DevicePoints; allocated on first use.
TPoint* ClipBuffer() {
  static std::vector<TPoint> buffer(static_cast<std::size_t>(DevicePointCapacity));
  return buffer.data();
}

std::atomic<uint64_t> GenerationCounter{0};

int32_t Clamp32(long double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::clamp<long double>(std::rint(v), INT32_MIN, INT32_MAX));  // halves to even
}

constexpr int32_t OneDegree = GlobeUnitsPerDegree;
constexpr int32_t SouthPoleLatitude = -485'999'999;
constexpr int32_t NorthPoleLatitude = 485'999'999;

}  // namespace

TGlobeCanvas::TGlobeCanvas(TCustomGlobeView* view) : View_(view) {
  if (view == nullptr) throw EGlobeException("TGlobeCanvas.Create passed nil Parent");
  NewGeneration();
  RecreateBitmap();
}

TGlobeCanvas::~TGlobeCanvas() = default;

TGlobeProjection& TGlobeCanvas::Projection() const { return View_->Projection(); }

void TGlobeCanvas::NewGeneration() { Generation_ = ++GenerationCounter; }

void TGlobeCanvas::RecreateBitmap() {
  const bool buffered = IsBuffered();
  Buffer_.reset();  // never leave a surface on memory that is about to move
  try {
    Bitmap_.Resize(Width_, Height_);
  } catch (const std::length_error&) {
    Bitmap_.Resize(0, 0);  // too large to buffer: buffered drawing then shows nothing
  }
  NewGeneration();
  if (buffered) BeginBuffered();
}

// ---- Drawing target ----------------------------------------------------------------------

platform::DrawingSurface& TGlobeCanvas::Surface() {
  if (Buffer_) return *Buffer_;
  if (Window_ != nullptr) return *Window_;
  return NoSurface_;
}

void TGlobeCanvas::SetWindowSurface(platform::DrawingSurface* window) {
  Window_ = window;
  if (Window_ != nullptr && !Buffer_) ApplyState(*Window_);
}

void TGlobeCanvas::BeginBuffered() {
  if (Buffer_) return;
  platform::DrawingSurface& window = Window_ != nullptr ? *Window_ : NoSurface_;
  Buffer_ = window.CreateBitmapSurface(Bitmap_);
  State_.CurrentFont = Buffer_->State().CurrentFont;  // the window's font comes along
  ApplyState(*Buffer_);
}

void TGlobeCanvas::EndBuffered() {
  if (!Buffer_) return;
  Buffer_->ClearClip();
  Buffer_.reset();
  if (Window_ != nullptr) ApplyState(*Window_);
}

// ---- Own drawing state --------------------------------------------------------------------

void TGlobeCanvas::ApplyState(platform::DrawingSurface& surface) {
  surface.SetPen(State_.CurrentPen);
  surface.SetBrush(State_.CurrentBrush);
  surface.SetFont(State_.CurrentFont);
  surface.SetTextColor(State_.TextColor);
  surface.SetBackgroundColor(State_.BackgroundColor);
  surface.SetBackgroundMode(State_.Background);
  surface.SetTextAlign(State_.Align);
  surface.SetPolyFillMode(State_.FillMode);
}

void TGlobeCanvas::ResetState() { ApplyState(Surface()); }

void TGlobeCanvas::SetPen(const platform::Pen& pen) {
  State_.CurrentPen = pen;
  Surface().SetPen(pen);
}
void TGlobeCanvas::SetBrush(const platform::Brush& brush) {
  State_.CurrentBrush = brush;
  Surface().SetBrush(brush);
}
void TGlobeCanvas::SetFont(const platform::Font& font) {
  State_.CurrentFont = font;
  Surface().SetFont(font);
}
void TGlobeCanvas::SetTextColor(TColor color) {
  State_.TextColor = color;
  Surface().SetTextColor(color);
}
void TGlobeCanvas::SetBackgroundColor(TColor color) {
  State_.BackgroundColor = color;
  Surface().SetBackgroundColor(color);
}
void TGlobeCanvas::SetBackgroundMode(platform::BackgroundMode mode) {
  State_.Background = mode;
  Surface().SetBackgroundMode(mode);
}
void TGlobeCanvas::SetTextAlign(platform::TextAlign align) {
  State_.Align = align;
  Surface().SetTextAlign(align);
}

// ---- Size, resolution, tint ---------------------------------------------------------------

void TGlobeCanvas::SetSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  if (width == Width_ && height == Height_) return;
  View_->CanvasResizing(width, height);
  Width_ = width;
  Height_ = height;
  RecreateBitmap();
}

void TGlobeCanvas::SetOutputResolution(int32_t ppi) {
  if (ppi == OutputResolution_) return;
  OutputResolution_ = ppi;
  NewGeneration();
}

void TGlobeCanvas::SetScreenResolution(int32_t ppi) {
  if (ppi == ScreenResolution_) return;
  ScreenResolution_ = ppi;
  NewGeneration();
}

void TGlobeCanvas::SetTintPercent(int32_t percent) {
  if (percent == TintPercent_) return;
  TintPercent_ = percent;
  NewGeneration();
}

void TGlobeCanvas::SetTintColor(TColor color) {
  if (color == TintColor_) return;
  TintColor_ = color;
  NewGeneration();
}

void TGlobeCanvas::Assign(const TGlobeCanvas& source) {
  if (&source == this) return;
  Width_ = source.Width_;
  Height_ = source.Height_;
  OutputResolution_ = source.OutputResolution_;
  GlobePen_.Assign(source.GlobePen_);
  GlobeBrush_.Assign(source.GlobeBrush_);
  SymbolFont_.Assign(source.SymbolFont_);
  TextFont_.Assign(source.TextFont_);
  State_ = source.State_;
  RecreateBitmap();
  ResetState();
}

// ---- The view --------------------------------------------------------------------------------

int32_t TGlobeCanvas::ViewAltitude() const { return Projection().Altitude(); }
platform::Pen TGlobeCanvas::SelectedPen() const { return View_->SelectedPen(); }
platform::Brush TGlobeCanvas::SelectedBrush() const { return View_->SelectedBrush(); }
int32_t TGlobeCanvas::MinTextHeight() const { return View_->MinTextHeight(); }
int32_t TGlobeCanvas::MaxTextHeight() const { return View_->MaxTextHeight(); }

// ---- Colours and sizes --------------------------------------------------------------------

TColor TGlobeCanvas::AdjustColor(TColor color) const {
  if (TintPercent_ == 0) return color;
  const long double p = TintPercent_ / 100.0L;
  auto mix = [p](int from, int to) {
    return static_cast<int>(std::clamp<long double>(std::nearbyint(from + (to - from) * p), 0, 255));
  };
  return platform::MakeColor(mix(platform::ColorRed(color), platform::ColorRed(TintColor_)),
                             mix(platform::ColorGreen(color), platform::ColorGreen(TintColor_)),
                             mix(platform::ColorBlue(color), platform::ColorBlue(TintColor_)));
}

int32_t TGlobeCanvas::ValueToGU(TGlobeUnitTypes unit, long double value) const {
  if (unit == TGlobeUnitTypes::Pixel) {
    const long double scale = Projection().ScaleFactor();
    if (scale <= 0) return 0;
    return Clamp32(value / scale);
  }
  return Clamp32(value * GlobeUnitFactor(unit));
}

int32_t TGlobeCanvas::SizeToPixels(int32_t size, TGlobeUnitTypes unit) const {
  if (unit == TGlobeUnitTypes::Pixel) {
    if (ScreenResolution_ == 0) return size;
    return MulDiv(size, OutputResolution_, ScreenResolution_);
  }
  const long double factor = ValueToGU(unit, 1.0L);
  return Clamp32(Projection().ScaleFactor() * factor * size);
}

int32_t TGlobeCanvas::LengthToPixels(int32_t value, TGlobeUnitTypes unit) const {
  if (unit == TGlobeUnitTypes::Pixel) return SizeToPixels(value, unit);
  return Clamp32(Projection().ScaleFactor() * ValueToGU(unit, value));
}

// ---- Outlines -----------------------------------------------------------------------------

void TGlobeCanvas::RenderPoly(int32_t count, uint16_t state, int32_t margin) {
  TPoint* points = DevicePoints();
  count = ClipDevicePoints(points, count, ClipBuffer(), DevicePointCapacity, state,
                           TClipWindow{Width_, Height_, margin});
  if (count < 2) return;
  const std::span<const TPoint> outline(points, static_cast<std::size_t>(count));
  if ((state & ClipClosedBit) != 0) {
    Surface().Polygon(outline);
  } else {
    Surface().Polyline(outline);
  }
}

void TGlobeCanvas::RenderChainStore(TChainStore& chains, uint16_t state, int32_t margin) {
  TGlobeProjection& projection = Projection();
  TCustomProjectionModel& model = projection.ProjectionModel();
  const bool closed = (state & ClipClosedBit) != 0;
  if ((projection.ModelFlags() & mfHorizonClip) != 0 && closed) {
    // The globe: hidden parts of an outline are pushed onto the horizon.
    for (int32_t i = 0; i < chains.Count(); ++i) {
      TPointStore* chain = chains.ChainIfPresent(i);
      if (chain == nullptr || chain->Count() == 0) continue;
      RenderPoly(model.PointStoreToXY(*chain, 0, true), state, margin);
    }
    return;
  }
  // Flat maps (and open lines on the globe): cut where the chain crosses the anti-meridian.
  const int32_t centralMeridian =
      NormaliseLongitude(Wrap32(RoundToInt(projection.CentralMeridian() * 5'400'000.0L)));
  for (int32_t i = 0; i < chains.Count(); ++i) {
    TPointStore* chain = chains.ChainIfPresent(i);
    if (chain == nullptr || chain->Count() == 0) continue;
    Cutter_.Cut(*chain, centralMeridian);
    if (!closed) {
      RenderOpenPieces(state, margin);
      continue;
    }
    int32_t poleLatitude = 0;
    if (Cutter_.Count() % 2 == 0) {
      // An odd number of crossings: the outline surrounds a pole. Its first and last pieces
      // are one run; the even group is closed round the pole on the chain's own hemisphere.
      Cutter_.JoinLastToFirst();
      int64_t latitudes = 0;
      for (int32_t k = 0; k < chain->Count(); ++k) latitudes += chain->LatY(k);
      poleLatitude = latitudes < 0 ? SouthPoleLatitude : NorthPoleLatitude;
    }
    RenderClosedPieces(state, margin, poleLatitude);
  }
}

void TGlobeCanvas::RenderClosedPieces(uint16_t state, int32_t margin, int32_t poleLatitude) {
  TCustomProjectionModel& model = Projection().ProjectionModel();
  for (int32_t group = 0; group < 2; ++group) {
    int32_t count = 0;
    bool any = false;
    for (int32_t p = group; p < Cutter_.Count(); p += 2) {
      count = model.PointStoreToXY(Cutter_.Piece(p), count, false);
      any = true;
    }
    if (!any) continue;
    if (group == 0 && poleLatitude != 0) {
      // Down the anti-meridian on the side where the group ends, to the pole, and back along
      // the other side to where the group starts.
      const TPointStore& first = Cutter_.Piece(0);
      int32_t lastPiece = (Cutter_.Count() - 1) / 2 * 2;
      const TPointStore& last = Cutter_.Piece(lastPiece);
      const TGeoPoint end = last.Point(last.Count() - 1);
      const TGeoPoint start = first.Point(0);
      const int32_t step = poleLatitude < 0 ? -OneDegree : OneDegree;
      PolePath_.Clear();
      for (int64_t lat = int64_t{end.LatY} + step; (lat - poleLatitude) * step < 0; lat += step) {
        PolePath_.Add(TGeoPoint(end.LongX, static_cast<int32_t>(lat)));
      }
      PolePath_.Add(TGeoPoint(end.LongX, poleLatitude));
      PolePath_.Add(TGeoPoint(start.LongX, poleLatitude));
      for (int64_t lat = int64_t{poleLatitude} - step; (lat - start.LatY) * step > 0; lat -= step) {
        PolePath_.Add(TGeoPoint(start.LongX, static_cast<int32_t>(lat)));
      }
      count = model.PointStoreToXY(PolePath_, count, false);
    }
    RenderPoly(count, state, margin);
  }
}

void TGlobeCanvas::RenderOpenPieces(uint16_t state, int32_t margin) {
  TCustomProjectionModel& model = Projection().ProjectionModel();
  for (int32_t p = 0; p < Cutter_.Count(); ++p) {
    const TPointStore& piece = Cutter_.Piece(p);
    int32_t run = 0;  // visible points so far, in DevicePoints[0..run-1]
    for (int32_t k = 0; k < piece.Count(); ++k) {
      if (run == DevicePointCapacity) {
        RenderPoly(run, state, margin);
        run = 0;
      }
      if (model.PointLLToXY(piece.Point(k), run)) {
        ++run;
      } else {
        if (run >= 2) RenderPoly(run, state, margin);
        run = 0;
      }
    }
    if (run >= 2) RenderPoly(run, state, margin);
  }
}

// ---- Surface texture ----------------------------------------------------------------------

void TGlobeCanvas::PutTexel(int32_t x, int32_t y, TColor color) {
  if (Buffer_) {
    Bitmap_.SetPixel(x, y, color);
  } else {
    Surface().SetPixel(x, y, color);
  }
}

template <class Inside>
void TGlobeCanvas::FillFromTexture(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   const TTextureData& texture, Inside inside) {
  if (!texture.HasTexture()) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, Width_);
  bottom = std::min(bottom, Height_);
  TCustomProjectionModel& model = Projection().ProjectionModel();
  const TPoint* slot = DevicePoints();
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) {
      if (!inside(x, y) || !model.XYToLL(x, y, 0)) continue;
      const TTexel texel = texture.PointToTexel(TGeoPoint(slot[0].X, slot[0].Y));
      const int32_t index = texture.TexelIndex(texel.X, texel.Y);
      if (index < 0 || index == texture.ColourIndex) continue;
      PutTexel(x, y, texture.PaletteColour(index));
    }
  }
}

void TGlobeCanvas::RenderTextureTriangle(const TGeoPoint& a, const TGeoPoint& b,
                                         const TGeoPoint& c, const TTextureData& texture) {
  TCustomProjectionModel& model = Projection().ProjectionModel();
  TPoint corner[3];
  const TGeoPoint* geo[3] = {&a, &b, &c};
  for (int i = 0; i < 3; ++i) {
    model.PointLLToXY(*geo[i], 0);
    corner[i] = DevicePoints()[0];
  }
  // Edge functions of the triangle; a pixel is inside when all three agree in sign.
  auto edge = [](const TPoint& p, const TPoint& q, int64_t x, int64_t y) {
    return (int64_t{q.X} - p.X) * (y - p.Y) - (int64_t{q.Y} - p.Y) * (x - p.X);
  };
  auto inside = [&](int32_t x, int32_t y) {
    const int64_t e0 = edge(corner[0], corner[1], x, y);
    const int64_t e1 = edge(corner[1], corner[2], x, y);
    const int64_t e2 = edge(corner[2], corner[0], x, y);
    return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
  };
  const int32_t left = std::min({corner[0].X, corner[1].X, corner[2].X});
  const int32_t right = std::max({corner[0].X, corner[1].X, corner[2].X});
  const int32_t top = std::min({corner[0].Y, corner[1].Y, corner[2].Y});
  const int32_t bottom = std::max({corner[0].Y, corner[1].Y, corner[2].Y});
  FillFromTexture(left, top, right == INT32_MAX ? right : right + 1,
                  bottom == INT32_MAX ? bottom : bottom + 1, texture, inside);
}

void TGlobeCanvas::RenderTextureStretched(const TTextureData& texture) {
  FillFromTexture(0, 0, Width_, Height_, texture, [](int32_t, int32_t) { return true; });
}

}  // namespace globe
