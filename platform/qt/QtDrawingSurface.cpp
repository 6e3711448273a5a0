#include "platform/qt/QtDrawingSurface.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QTextLayout>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/qt/QtBitmapImage.h"

namespace platform {
namespace {

// Qt refuses wider pens (and draws nothing); wider lines and larger text cover any window anyway.
constexpr int kMaxPenWidth = 32767;
constexpr int kMaxFontPixels = 32767;

QColor ToQColor(TColor c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }

QRect ToQRect(const TRect& r) {
  return QRect(r.Left, r.Top, static_cast<int>(std::clamp<std::int64_t>(r.Width(), 0, INT32_MAX)),
               static_cast<int>(std::clamp<std::int64_t>(r.Height(), 0, INT32_MAX)));
}

// The outline of an exclusive rectangle: a 1-pixel pen covers Left..Right-1.
QRect OutlineRect(const TRect& r) {
  QRect q = ToQRect(r);
  return QRect(q.left(), q.top(), std::max(0, q.width() - 1), std::max(0, q.height() - 1));
}

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
  switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    case psSolid:
    case psInsideFrame: return Qt::SolidLine;
  }
  return Qt::SolidLine;
}

// An 8 x 8 texture: `foreground` where a bit equals `foregroundBit`, elsewhere the
// background colour or transparent.
QImage PatternImage(const PatternBits& bits, bool foregroundBit, TColor foreground,
                    bool opaque, TColor background) {
  QImage image(8, 8, QImage::Format_ARGB32);
  const QRgb fore = ToQColor(foreground).rgb();
  const QRgb back = opaque ? ToQColor(background).rgb() : qRgba(0, 0, 0, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool bit = (bits[y] >> (7 - x)) & 1;
      image.setPixel(x, y, bit == foregroundBit ? fore : back);
    }
  }
  return image;
}

}  // namespace

QtDrawingSurface::QtDrawingSurface(QPaintDevice& device) : device_(&device) { Begin(); }

QtDrawingSurface::QtDrawingSurface(Bitmap24& bitmap) : device_(nullptr) {
  if (!bitmap.Empty()) {
    bitmapImage_ = std::make_unique<QImage>(bitmap.Bits(), bitmap.Width(), bitmap.Height(),
                                            bitmap.Stride(), QImage::Format_BGR888);
    device_ = bitmapImage_.get();
  }
  Begin();
}

QtDrawingSurface::~QtDrawingSurface() {
  if (painter_.isActive()) painter_.end();
}

void QtDrawingSurface::Begin() {
  if (device_ == nullptr || device_->width() <= 0 || device_->height() <= 0) return;
  painter_.begin(device_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void QtDrawingSurface::SetAntialiased(bool on) {
  antialiased_ = on;
  if (!painter_.isActive()) return;
  painter_.setRenderHint(QPainter::Antialiasing, on);
  if (on) painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtDrawingSurface::SetDevicePixels(qreal ratio) {
  if (!(ratio > 0)) return;
  pixelRatio_ = ratio;
  if (painter_.isActive()) painter_.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
}

int QtDrawingSurface::Width() const { return device_ ? static_cast<int>(std::lround(device_->width() * pixelRatio_)) : 0; }
int QtDrawingSurface::Height() const { return device_ ? static_cast<int>(std::lround(device_->height() * pixelRatio_)) : 0; }
int QtDrawingSurface::PixelsPerInch() const {
  return device_ ? static_cast<int>(std::lround(device_->logicalDpiY() * pixelRatio_)) : 96;
}

void QtDrawingSurface::SetPen(const Pen& pen) {
  DrawingSurface::SetPen(pen);
  penDirty_ = true;
}
void QtDrawingSurface::SetBrush(const Brush& brush) {
  DrawingSurface::SetBrush(brush);
  brushDirty_ = true;
}
void QtDrawingSurface::SetFont(const Font& font) { DrawingSurface::SetFont(font); }
void QtDrawingSurface::SetTextColor(TColor color) {
  DrawingSurface::SetTextColor(color);
  brushDirty_ = true;  // pattern brushes draw in the text colour
}
void QtDrawingSurface::SetBackgroundColor(TColor color) {
  DrawingSurface::SetBackgroundColor(color);
  brushDirty_ = penDirty_ = true;
}
void QtDrawingSurface::SetBackgroundMode(BackgroundMode mode) {
  DrawingSurface::SetBackgroundMode(mode);
  brushDirty_ = penDirty_ = true;
}

bool QtDrawingSurface::Ready() {
  if (!painter_.isActive()) return false;
  const DrawingState& s = State();
  if (penDirty_) {
    const Pen& p = s.CurrentPen;
    pen_ = QPen(ToQColor(p.Color));
    pen_.setStyle(ToQtPenStyle(p.Style));
    if (p.Width <= 1) {
      pen_.setWidth(0);  // cosmetic: exactly one pixel, end point left out
      pen_.setCapStyle(Qt::FlatCap);
    } else {
      pen_.setWidth(std::min(p.Width, kMaxPenWidth));
      pen_.setCapStyle(Qt::RoundCap);
      pen_.setJoinStyle(Qt::RoundJoin);
    }
    penDirty_ = false;
  }
  if (brushDirty_) {
    const Brush& b = s.CurrentBrush;
    const bool opaque = s.Background == BackgroundMode::Opaque;
    switch (b.Kind) {
      case BrushKind::Solid: brush_ = QBrush(ToQColor(b.Color)); break;
      case BrushKind::Hollow: brush_ = QBrush(Qt::NoBrush); break;
      case BrushKind::Hatched:
        brush_ = QBrush(PatternImage(HatchBits(b.Hatch), true, b.Color, opaque, s.BackgroundColor));
        break;
      case BrushKind::Pattern:
        brush_ = QBrush(PatternImage(b.Pattern, false, s.TextColor, opaque, s.BackgroundColor));
        break;
    }
    brushDirty_ = false;
  }
  painter_.setPen(pen_);
  painter_.setBrush(brush_);
  painter_.setBrushOrigin(0, 0);
  return true;
}

QPolygon QtDrawingSurface::ToPolygon(std::span<const TPoint> points) const {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const TPoint& p : points) polygon.append(QPoint(p.X, p.Y));
  return polygon;
}

void QtDrawingSurface::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2 || !Ready()) return;
  const QPolygon polygon = ToPolygon(points);
  const DrawingState& s = State();
  if (s.Background == BackgroundMode::Opaque && s.CurrentPen.Style != psSolid &&
      s.CurrentPen.Style != psClear && s.CurrentPen.Style != psInsideFrame) {
    // The gaps of a styled line show the background colour.
    QPen gaps = pen_;
    gaps.setStyle(Qt::SolidLine);
    gaps.setColor(ToQColor(s.BackgroundColor));
    painter_.setPen(gaps);
    painter_.drawPolyline(polygon);
    painter_.setPen(pen_);
  }
  painter_.drawPolyline(polygon);
}

void QtDrawingSurface::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2 || !Ready()) return;
  const Qt::FillRule rule =
      State().FillMode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill;
  painter_.drawPolygon(ToPolygon(points), rule);
}

void QtDrawingSurface::Ellipse(const TRect& box) {
  if (!Ready()) return;
  painter_.drawEllipse(OutlineRect(box));
}

void QtDrawingSurface::Rectangle(const TRect& box) {
  if (!Ready()) return;
  painter_.drawRect(OutlineRect(box));
}

void QtDrawingSurface::FillRect(const TRect& box) {
  if (!Ready()) return;
  painter_.fillRect(ToQRect(box), brush_);
}

void QtDrawingSurface::SetPixel(int x, int y, TColor color) {
  if (!painter_.isActive()) return;
  painter_.setPen(QPen(ToQColor(color), 0));
  painter_.drawPoint(x, y);
  penDirty_ = true;
}

QFont QtDrawingSurface::ToQFont() const {
  const Font& f = State().CurrentFont;
  QFont font(QString::fromLatin1(f.Name.data(), static_cast<qsizetype>(f.Name.size())));
  font.setPixelSize(std::clamp(f.Height, 1, kMaxFontPixels));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(f.Weight, 1, 1000)));
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.StrikeOut);
  return font;
}

QFontMetrics QtDrawingSurface::Metrics(const QFont& font) {
  if (!painter_.isActive()) return QFontMetrics(font, device_);
  // A window painted at a device pixel ratio may draw a font wider than the font's own metrics
  // on the window say: text boxes are measured as the text is drawn.
  painter_.save();
  painter_.setFont(font);
  const QFontMetrics metrics = painter_.fontMetrics();
  painter_.restore();
  return metrics;
}

namespace {

// Where the text starts and its baseline lies, from the reference point, for the alignment.
std::pair<int, int> AlignedBaseline(TextAlign align, const QFontMetrics& metrics, int width) {
  int dx = 0;
  if (align.Horizontal == HorizontalAlign::Center) dx = -width / 2;
  if (align.Horizontal == HorizontalAlign::Right) dx = -width;
  int baseline = 0;
  if (align.Vertical == VerticalAlign::Top) baseline = metrics.ascent();
  if (align.Vertical == VerticalAlign::Bottom) baseline = -metrics.descent();
  return {dx, baseline};
}

}  // namespace

void QtDrawingSurface::TextOut(int x, int y, std::string_view text) {
  if (text.empty() || !painter_.isActive() || State().CurrentFont.Height <= 0) return;
  const DrawingState& s = State();
  const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font = ToQFont();
  const QFontMetrics metrics = Metrics(font);
  const int width = metrics.horizontalAdvance(string);
  const auto [dx, baseline] = AlignedBaseline(s.Align, metrics, width);

  painter_.save();
  painter_.translate(x, y);
  if (s.CurrentFont.Escapement != 0) painter_.rotate(-s.CurrentFont.Escapement / 10.0);
  if (s.Background == BackgroundMode::Opaque) {
    painter_.fillRect(QRect(dx, baseline - metrics.ascent(), width, metrics.height()),
                      ToQColor(s.BackgroundColor));
  }
  painter_.setFont(font);
  painter_.setPen(ToQColor(s.TextColor));
  painter_.drawText(dx, baseline, string);
  painter_.restore();
  penDirty_ = true;
}

void QtDrawingSurface::TextOutWithHalo(int x, int y, std::string_view text, TColor halo, int width) {
  const DrawingState& s = State();
  // Rotated or boxed text keeps the general way.
  if (s.CurrentFont.Escapement != 0 || s.Background == BackgroundMode::Opaque) {
    DrawingSurface::TextOutWithHalo(x, y, text, halo, width);
    return;
  }
  if (text.empty() || !painter_.isActive() || s.CurrentFont.Height <= 0) return;
  const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font = ToQFont();
  const QFontMetrics metrics = Metrics(font);
  QTextLayout layout(string, font, painter_.device());
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return;
  const QList<QGlyphRun> runs = layout.glyphRuns();
  const auto [dx, baseline] = AlignedBaseline(s.Align, metrics, metrics.horizontalAdvance(string));
  // The runs' glyph positions hold the line's ascent: the origin goes to the line's top.
  const QPointF origin(x + dx, y + baseline - line.ascent());
  const auto draw = [&](QPointF at, TColor colour) {
    painter_.setPen(ToQColor(colour));
    for (const QGlyphRun& run : runs) painter_.drawGlyphRun(at, run);
  };
  painter_.save();
  for (const TPoint d : HaloOffsets(width)) draw(origin + QPointF(d.X, d.Y), halo);
  draw(origin, s.TextColor);
  painter_.restore();
  penDirty_ = true;
}

TSize QtDrawingSurface::TextExtent(std::string_view text) {
  if (State().CurrentFont.Height <= 0) return {};
  const QFontMetrics metrics = Metrics(ToQFont());
  const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return {metrics.horizontalAdvance(string), metrics.height()};
}

void QtDrawingSurface::DrawFocusRect(const TRect& box) {
  if (!painter_.isActive()) return;
  painter_.save();
  painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen dotted(Qt::white, 0, Qt::DotLine);
  painter_.setPen(dotted);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(OutlineRect(box));
  painter_.restore();
}

void QtDrawingSurface::SetClipRect(const TRect& box) {
  if (painter_.isActive()) painter_.setClipRect(ToQRect(box));
}

void QtDrawingSurface::SetClipPolygon(std::span<const TPoint> points, PolyFillMode mode) {
  if (!painter_.isActive()) return;
  QPainterPath path;
  path.addPolygon(QPolygonF(ToPolygon(points)));
  path.closeSubpath();
  path.setFillRule(mode == PolyFillMode::Winding ? Qt::WindingFill : Qt::OddEvenFill);
  painter_.setClipPath(path);
}

void QtDrawingSurface::ClearClip() {
  if (painter_.isActive()) painter_.setClipping(false);
}

void QtDrawingSurface::DrawBitmap(int x, int y, const Bitmap24& source, const TRect& sourceRect) {
  if (!painter_.isActive() || source.Empty()) return;
  painter_.drawImage(QPoint(x, y), BitmapImageView(source), ToQRect(sourceRect));
}

void QtDrawingSurface::StretchDraw(const TRect& dest, const Bitmap24& picture) {
  if (!painter_.isActive() || picture.Empty()) return;
  painter_.drawImage(ToQRect(dest), BitmapImageView(picture));
}

std::unique_ptr<DrawingSurface> QtDrawingSurface::CreateBitmapSurface(Bitmap24& target) {
  auto surface = std::make_unique<QtDrawingSurface>(target);
  surface->SetAntialiased(antialiased_);
  surface->SetFont(State().CurrentFont);
  return surface;
}

}  // namespace platform
