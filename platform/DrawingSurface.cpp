#include "platform/DrawingSurface.h"

namespace platform {

PatternBits HatchBits(HatchStyle hatch) {
  PatternBits bits{};
  for (int row = 0; row < 8; ++row) {
    const auto forward = static_cast<std::uint8_t>(0x80 >> row);  // "\" from the top-left
    const auto backward = static_cast<std::uint8_t>(0x01 << row); // "/" from the bottom-left
    std::uint8_t value = 0;
    switch (hatch) {
      case HatchStyle::Horizontal: value = row == 0 ? 0xFF : 0x00; break;
      case HatchStyle::Vertical: value = 0x80; break;
      case HatchStyle::FDiagonal: value = forward; break;
      case HatchStyle::BDiagonal: value = backward; break;
      case HatchStyle::Cross: value = row == 0 ? 0xFF : 0x80; break;
      case HatchStyle::DiagCross: value = static_cast<std::uint8_t>(forward | backward); break;
    }
    bits[row] = value;
  }
  return bits;
}

void DrawingSurface::ResetState() {
  const DrawingState stock;
  SetPen(stock.CurrentPen);
  SetBrush(stock.CurrentBrush);
  SetFont(stock.CurrentFont);
  SetTextColor(stock.TextColor);
  SetBackgroundColor(stock.BackgroundColor);
  SetBackgroundMode(stock.Background);
  SetTextAlign(stock.Align);
  SetPolyFillMode(stock.FillMode);
}

void DrawingSurface::TextOutWithHalo(int x, int y, std::string_view text, TColor halo, int width) {
  const TColor colour = State().TextColor;
  SetTextColor(halo);
  for (const TPoint d : HaloOffsets(width)) TextOut(x + d.X, y + d.Y, text);
  SetTextColor(colour);
  TextOut(x, y, text);
}

std::array<TPoint, 8> HaloOffsets(int width) {
  const int w = width;
  return {{{-w, -w}, {0, -w}, {w, -w}, {-w, 0}, {w, 0}, {-w, w}, {0, w}, {w, w}}};
}

}  // namespace platform
