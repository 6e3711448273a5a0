#pragma once
// The drawing surface (device context) through which all map drawing reaches the toolkit.
// It keeps a current pen, brush, font and text state like a device context; the drawing
// operations use that state. Implementations: platform/qt (QPainter), platform/testing
// (recording fake), NullDrawingSurface (draws nothing).
//
// Conventions:
// - coordinates are device pixels, y downwards;
// - rectangles exclude their right and bottom edge;
// - text is 8-bit, one character per byte (Latin-1 / Windows ANSI), as stored in the data files.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/Bitmap24.h"
#include "platform/Color.h"
#include "platform/DeviceGeometry.h"

namespace platform {

enum TPenStyle : std::uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame
};

struct Pen {
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;  // pixels; 0 or less draws one pixel wide
  friend bool operator==(const Pen&, const Pen&) = default;
};

// Eight rows top to bottom, most significant bit leftmost.
using PatternBits = std::array<std::uint8_t, 8>;

enum class BrushKind : std::uint8_t { Solid, Hollow, Hatched, Pattern };
enum class HatchStyle : std::uint8_t { Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

// Solid: fills in Color. Hollow: no fill. Hatched: hatch lines in Color.
// Pattern: 0 bits in the current text colour, 1 bits in the background colour.
// Hatch gaps and pattern 1 bits are filled only in opaque background mode.
struct Brush {
  BrushKind Kind = BrushKind::Solid;
  TColor Color = clWhite;
  HatchStyle Hatch = HatchStyle::Horizontal;
  PatternBits Pattern{};
  friend bool operator==(const Brush&, const Brush&) = default;
};

// The 8 x 8 bits of a hatch style, in the same layout as a pattern (1 bits are the lines).
PatternBits HatchBits(HatchStyle hatch);

struct Font {
  std::string Name = "Arial";
  int Height = 12;      // character height in pixels; 0 or less: text is not drawn
  int Escapement = 0;   // tenths of a degree, counter-clockwise
  int Weight = 400;     // 400 normal, 700 bold
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class BackgroundMode : std::uint8_t { Transparent, Opaque };
enum class PolyFillMode : std::uint8_t { Alternate, Winding };
enum class HorizontalAlign : std::uint8_t { Left, Center, Right };
enum class VerticalAlign : std::uint8_t { Top, Baseline, Bottom };

// Where the reference point of TextOut lies on the text.
struct TextAlign {
  HorizontalAlign Horizontal = HorizontalAlign::Left;
  VerticalAlign Vertical = VerticalAlign::Top;
  friend bool operator==(const TextAlign&, const TextAlign&) = default;
};

// The current drawing state of a surface.
struct DrawingState {
  Pen CurrentPen;
  Brush CurrentBrush;
  Font CurrentFont;
  TColor TextColor = clBlack;
  TColor BackgroundColor = clWhite;
  BackgroundMode Background = BackgroundMode::Opaque;
  TextAlign Align;
  PolyFillMode FillMode = PolyFillMode::Alternate;
  friend bool operator==(const DrawingState&, const DrawingState&) = default;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;
  DrawingSurface() = default;
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;

  // Device size and vertical resolution (pixels per inch).
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int PixelsPerInch() const = 0;

  // State. Implementations that override a setter call the base version.
  const DrawingState& State() const { return state_; }
  virtual void SetPen(const Pen& pen) { state_.CurrentPen = pen; }
  virtual void SetBrush(const Brush& brush) { state_.CurrentBrush = brush; }
  virtual void SetFont(const Font& font) { state_.CurrentFont = font; }
  virtual void SetTextColor(TColor color) { state_.TextColor = color; }
  virtual void SetBackgroundColor(TColor color) { state_.BackgroundColor = color; }
  virtual void SetBackgroundMode(BackgroundMode mode) { state_.Background = mode; }
  virtual void SetTextAlign(TextAlign align) { state_.Align = align; }
  virtual void SetPolyFillMode(PolyFillMode mode) { state_.FillMode = mode; }
  // Back to the stock state: black pen, white brush, system font, defaults above.
  void ResetState();

  // Outlines use the pen; closed shapes are filled with the brush.
  virtual void Polyline(std::span<const TPoint> points) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  virtual void Ellipse(const TRect& box) = 0;
  virtual void Rectangle(const TRect& box) = 0;
  virtual void FillRect(const TRect& box) = 0;  // brush only, no outline
  virtual void SetPixel(int x, int y, TColor color) = 0;
  // Text in the current font, text colour and alignment; with an opaque background the text box
  // is first filled with the background colour. Rotated by the font's escapement.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual TSize TextExtent(std::string_view text) = 0;
  // The text over a halo: eight copies in `halo` moved `width` pixels to each side and
  // diagonal, then the text in the text colour. A surface may shape the text once for all nine.
  virtual void TextOutWithHalo(int x, int y, std::string_view text, TColor halo, int width);
  // Dotted rectangle drawn by inverting; drawing it twice restores the pixels.
  virtual void DrawFocusRect(const TRect& box) = 0;

  // Clipping: drawing is limited to the region until ClearClip.
  virtual void SetClipRect(const TRect& box) = 0;
  virtual void SetClipPolygon(std::span<const TPoint> points, PolyFillMode mode) = 0;
  virtual void ClearClip() = 0;

  // Copies `source` (the part `sourceRect`) with its top-left corner at (x, y).
  virtual void DrawBitmap(int x, int y, const Bitmap24& source, const TRect& sourceRect) = 0;
  // Draws `picture` scaled into `dest`.
  virtual void StretchDraw(const TRect& dest, const Bitmap24& picture) = 0;
  // A surface of the same kind drawing into `target`, which must outlive it and keep its size.
  // It starts with this surface's font.
  virtual std::unique_ptr<DrawingSurface> CreateBitmapSurface(Bitmap24& target) = 0;

 private:
  DrawingState state_;
};

// The offsets of a halo of that width: the eight neighbours.
std::array<TPoint, 8> HaloOffsets(int width);

}  // namespace platform
