#pragma once
// TGlobeCanvas: the one drawing surface of a globe view. It knows its view, clips projected
// outlines against the window, turns chains of geographic points into polylines and polygons,
// keeps the off-screen bitmap for double buffering, converts sizes in map units into pixels at
// the current zoom, and tints colours for the layer being drawn.
//
// Drawing goes to Surface(): the off-screen bitmap between BeginBuffered and EndBuffered,
// otherwise the window surface the view hands over while it paints (SetWindowSurface), and a
// surface that draws nothing when there is neither.
#include <cstdint>
#include <memory>
#include <vector>

#include "globe/data/ChainStore.h"
#include "globe/data/GeoTypes.h"
#include "globe/data/GlobeColor.h"
#include "globe/data/GlobeRoot.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/TextureData.h"
#include "globe/view/AntiMeridianCut.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "platform/Bitmap24.h"
#include "platform/DrawingSurface.h"
#include "platform/NullDrawingSurface.h"

namespace globe {

class TCustomGlobeView;
class TGlobeProjection;

class TGlobeCanvas : public TGlobeRoot {
 public:
  // A null view raises EGlobeException "TGlobeCanvas.Create passed nil Parent".
  explicit TGlobeCanvas(TCustomGlobeView* view);
  ~TGlobeCanvas() override;
  TGlobeCanvas(const TGlobeCanvas&) = delete;
  TGlobeCanvas& operator=(const TGlobeCanvas&) = delete;

  std::string ClassName() const override { return "TGlobeCanvas"; }

  TCustomGlobeView& View() const { return *View_; }
  TGlobeProjection& Projection() const;

  // ---- Drawing target ----------------------------------------------------------------------
  // The window's surface during a paint (null afterwards); the canvas state is applied to it.
  void SetWindowSurface(platform::DrawingSurface* window);
  platform::DrawingSurface* WindowSurface() const { return Window_; }
  platform::DrawingSurface& Surface();
  // Draws into the off-screen bitmap from now on (a surface like the window's, with its font).
  void BeginBuffered();
  // Back to the window; the bitmap surface's clipping goes with it.
  void EndBuffered();
  bool IsBuffered() const { return Buffer_ != nullptr; }
  // The off-screen bitmap: Width x Height, 24 bits.
  platform::Bitmap24& Bitmap() { return Bitmap_; }
  const platform::Bitmap24& Bitmap() const { return Bitmap_; }

  // ---- The canvas's own pen, brush, font and text settings --------------------------------
  // Application drawing sets these; they are selected at once. Attributes select their own
  // objects into the surface without changing them, and ResetState selects them again.
  const platform::DrawingState& CanvasState() const { return State_; }
  void SetPen(const platform::Pen& pen);
  void SetBrush(const platform::Brush& brush);
  void SetFont(const platform::Font& font);
  void SetTextColor(TColor color);
  void SetBackgroundColor(TColor color);
  void SetBackgroundMode(platform::BackgroundMode mode);
  void SetTextAlign(platform::TextAlign align);
  void ResetState();

  // ---- Size, resolution, tint ---------------------------------------------------------------
  int32_t Width() const { return Width_; }
  int32_t Height() const { return Height_; }
  // Sizes of 0 or less are ignored. Otherwise the view adjusts zoom and origin to the new
  // size, then the size is stored and the bitmap re-created.
  void SetSize(int32_t width, int32_t height);
  // Pixels per inch; printing sets the output resolution to the printer's.
  int32_t OutputResolution() const { return OutputResolution_; }
  void SetOutputResolution(int32_t ppi);
  int32_t ScreenResolution() const { return ScreenResolution_; }
  void SetScreenResolution(int32_t ppi);
  int32_t TintPercent() const { return TintPercent_; }
  void SetTintPercent(int32_t percent);
  TColor TintColor() const { return TintColor_; }
  void SetTintColor(TColor color);
  // Changes whenever drawing objects made for this canvas must be made again (new canvas,
  // new size, new resolution or tint). Unique across canvases.
  uint64_t Generation() const { return Generation_; }

  // Copies size, output resolution, attributes and drawing settings of another canvas;
  // re-creates the bitmap.
  void Assign(const TGlobeCanvas& source);

  // ---- Attributes -----------------------------------------------------------------------------
  // Pen (Pixel, width 1), brush (white), symbol font ("WingDings", 9 Pixel) and text font
  // ("Arial", 9 Pixel) for drawing that has no attributes of its own.
  TGlobePen& GlobePen() { return GlobePen_; }
  TGlobeBrush& GlobeBrush() { return GlobeBrush_; }
  TGlobeFont& SymbolFont() { return SymbolFont_; }
  TGlobeFont& TextFont() { return TextFont_; }

  // ---- What attributes need from the view -----------------------------------------------------
  int32_t ViewAltitude() const;
  platform::Pen SelectedPen() const;
  platform::Brush SelectedBrush() const;
  int32_t MinTextHeight() const;
  int32_t MaxTextHeight() const;

  // ---- Colours and sizes --------------------------------------------------------------------
  // Red, green and blue each moved TintPercent per cent of the way to TintColor (rounded,
  // clamped to 0..255); the colour itself when TintPercent is 0.
  TColor AdjustColor(TColor color) const;
  // A size in `unit` as GlobeUnit: Pixel values are divided by the zoom, others multiplied by the
  // unit's factor; rounded (and held within 32 bits).
  int32_t ValueToGU(TGlobeUnitTypes unit, long double value) const;
  // Pixel sizes scale with OutputResolution / ScreenResolution; map sizes follow the zoom, the
  // unit's GlobeUnit factor rounded first.
  int32_t SizeToPixels(int32_t size, TGlobeUnitTypes unit) const;
  int32_t LengthToPixels(int32_t value, TGlobeUnitTypes unit) const;

  // ---- Outlines -----------------------------------------------------------------------------
  // Draws DevicePoints[0..count-1] clipped by the state's clip bits: a filled polygon when the
  // closed bit (0x0002) is set, else a polyline; nothing when fewer than 2 points remain.
  void RenderPoly(int32_t count, uint16_t state, int32_t margin);
  // Projects and draws every chain.
  void RenderChainStore(TChainStore& chains, uint16_t state, int32_t margin);

  // ---- Surface texture ----------------------------------------------------------------------
  // Fills the device triangle of three geographic points with the texture's nearest texels;
  // texels of the texture's transparent palette index (its ColourIndex) are skipped.
  void RenderTextureTriangle(const TGeoPoint& a, const TGeoPoint& b, const TGeoPoint& c,
                             const TTextureData& texture);
  // Fills every pixel of the map with the texel of its geographic point (flat maps).
  void RenderTextureStretched(const TTextureData& texture);

 private:
  void NewGeneration();
  void RecreateBitmap();
  void ApplyState(platform::DrawingSurface& surface);
  void RenderClosedPieces(uint16_t state, int32_t margin, int32_t poleLatitude);
  void RenderOpenPieces(uint16_t state, int32_t margin);
  // Writes one texel colour at (x, y) of the current target.
  void PutTexel(int32_t x, int32_t y, TColor color);
  // Fills the pixels of [left, right) x [top, bottom) for which `inside` holds.
  template <class Inside>
  void FillFromTexture(int32_t left, int32_t top, int32_t right, int32_t bottom,
                       const TTextureData& texture, Inside inside);

  TCustomGlobeView* View_;
  int32_t Width_ = 150;
  int32_t Height_ = 150;
  int32_t OutputResolution_ = 96;
  int32_t ScreenResolution_ = 96;
  int32_t TintPercent_ = 0;
  TColor TintColor_ = 0xC0C0C0;
  uint64_t Generation_ = 0;

  platform::Bitmap24 Bitmap_;
  platform::DrawingState State_;
  platform::DrawingSurface* Window_ = nullptr;
  std::unique_ptr<platform::DrawingSurface> Buffer_;
  platform::NullDrawingSurface NoSurface_;

  TGlobePen GlobePen_;
  TGlobeBrush GlobeBrush_{clWhite};
  TGlobeFont SymbolFont_{"WingDings", 9, TGlobeUnitTypes::Pixel, clBlack};
  TGlobeFont TextFont_{"Arial", 9, TGlobeUnitTypes::Pixel, clBlack};

  TAntiMeridianCutter Cutter_;
  TPointStore PolePath_;
};

}  // namespace globe
