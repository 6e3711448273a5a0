// The drawing half of pens, brushes and fonts: the platform objects made from their values for
// a canvas, and their selection into the canvas's surface.
#include <string>

#include "globe/view/GlobeAttribute.h"
#include "globe/view/GlobeBrush.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/GlobePen.h"
#include "platform/PatternResources.h"

namespace globe {

using platform::BackgroundMode;

bool TGlobeAttribute::Realize(TGlobeCanvas& canvas, bool selected) {
  if (Binding_.Canvas != &canvas || Binding_.Generation != canvas.Generation()) {
    ReleaseHandle();
    Binding_.Canvas = &canvas;
    Binding_.Generation = canvas.Generation();
  }
  // Sizes in map units depend on the zoom.
  if (HandleAllocated() && ZoomDependent() && Binding_.Altitude != canvas.ViewAltitude()) {
    ReleaseHandle();
  }
  if (!HandleAllocated()) {
    Binding_.Handle = CreateHandle(canvas);
    Binding_.Altitude = canvas.ViewAltitude();
  }
  Select(canvas, selected);
  return HandleAllocated();
}

void TGlobeAttribute::ReleaseHandle() { Binding_.Handle = std::monostate(); }

// ---- Pen ----------------------------------------------------------------------------------

TGlobeAttribute::THandle TGlobePen::CreateHandle(TGlobeCanvas& canvas) {
  return platform::Pen{canvas.AdjustColor(Color_), Style_, canvas.LengthToPixels(Width_, Unit_)};
}

void TGlobePen::Select(TGlobeCanvas& canvas, bool selected) {
  platform::DrawingSurface& surface = canvas.Surface();
  surface.SetPen(selected ? canvas.SelectedPen() : std::get<platform::Pen>(Handle()));
  surface.SetBackgroundMode(BackgroundMode::Transparent);
}

// ---- Brush --------------------------------------------------------------------------------

TGlobeAttribute::THandle TGlobeBrush::CreateHandle(TGlobeCanvas& canvas) {
  platform::Brush brush;
  brush.Color = canvas.AdjustColor(Color_);
  if (Style_ == bsSolid) {
    brush.Kind = platform::BrushKind::Solid;
  } else if (Style_ == bsClear) {
    brush.Kind = platform::BrushKind::Hollow;
  } else if (Style_ <= bsDiagCross) {
    brush.Kind = platform::BrushKind::Hatched;
    brush.Hatch = static_cast<platform::HatchStyle>(Style_ - bsHorizontal);
  } else {
    // Pattern styles load the bitmap named after their ordinal; none made when it is missing.
    const auto bits = platform::FindPatternResource("BRUSH_" + std::to_string(int{Style_}));
    if (!bits) return std::monostate();
    brush.Kind = platform::BrushKind::Pattern;
    brush.Pattern = *bits;
  }
  return brush;
}

void TGlobeBrush::Select(TGlobeCanvas& canvas, bool selected) {
  platform::DrawingSurface& surface = canvas.Surface();
  if (selected) {
    surface.SetBrush(canvas.SelectedBrush());
  } else if (HandleAllocated()) {
    surface.SetBrush(std::get<platform::Brush>(Handle()));
  } else {
    surface.SetBrush(platform::Brush{platform::BrushKind::Hollow});
  }
  if (Style_ >= bsPattern1) {
    // Pattern bitmaps are monochrome: 0 bits take the text colour, 1 bits the background.
    if (BkColor_ != Color_) {
      surface.SetBackgroundMode(BackgroundMode::Opaque);
      surface.SetBackgroundColor(canvas.AdjustColor(BkColor_));
    } else {
      surface.SetBackgroundMode(BackgroundMode::Transparent);
    }
    surface.SetTextColor(canvas.AdjustColor(Color_));
  } else {
    surface.SetBackgroundMode(BackgroundMode::Transparent);
  }
}

// ---- Font ---------------------------------------------------------------------------------

int32_t TGlobeFont::PixelHeight(const TGlobeCanvas& canvas) const {
  return canvas.SizeToPixels(Size_, Unit_);
}

TGlobeAttribute::THandle TGlobeFont::CreateHandle(TGlobeCanvas& canvas) {
  int32_t height = PixelHeight(canvas);
  if (height < canvas.MinTextHeight()) return std::monostate();  // too small to be read
  const int32_t maxHeight = canvas.MaxTextHeight();
  if (maxHeight > 0 && height > maxHeight) height = maxHeight;
  platform::Font font;
  font.Name = Name_;
  font.Height = height;
  font.Escapement = Angle_;
  font.Weight = Style_.Contains(fsBold) ? 700 : 400;
  font.Italic = Style_.Contains(fsItalic);
  font.Underline = Style_.Contains(fsUnderline);
  font.StrikeOut = Style_.Contains(fsStrikeOut);
  return font;
}

void TGlobeFont::Select(TGlobeCanvas& canvas, bool selected) {
  platform::DrawingSurface& surface = canvas.Surface();
  if (HandleAllocated()) {
    surface.SetFont(std::get<platform::Font>(Handle()));
  } else {
    platform::Font nothing;  // height 0: text is not drawn
    nothing.Name = Name_;
    nothing.Height = 0;
    surface.SetFont(nothing);
  }
  surface.SetTextAlign({platform::HorizontalAlign::Left, platform::VerticalAlign::Top});
  surface.SetTextColor(selected ? canvas.SelectedPen().Color : canvas.AdjustColor(Color_));
  surface.SetBackgroundMode(BackgroundMode::Transparent);
}

}  // namespace globe
