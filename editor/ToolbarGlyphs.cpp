#include "editor/ToolbarGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace editor {

namespace {

// The glyph's side in logical pixels.
constexpr int kSize = 16;

// An icon drawn once for ordinary screens and once, twice as fine, for high-density ones:
// `draw` works in logical pixels on a kSize x kSize square.
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw)
{
  QIcon icon;
  for (const int ratio : {1, 2}) {
    QPixmap pixmap(kSize * ratio, kSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void DrawMagnifier(QPainter& painter, bool plus)
{
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1.5));
  painter.setBrush(QColor(0xE8, 0xF4, 0xFF));
  painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  painter.setPen(QPen(QColor(0x60, 0x40, 0x20), 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
  painter.setPen(QPen(Qt::black, 1.5));
  painter.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
  if (plus) painter.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void DrawFolder(QPainter& painter)
{
  painter.setPen(QColor(0x80, 0x60, 0x00));
  painter.setBrush(QColor(0xF0, 0xC8, 0x40));
  painter.drawRect(1, 4, 12, 9);
  painter.drawRect(1, 2, 5, 2);
  QPainterPath flap;
  flap.moveTo(3, 7);
  flap.lineTo(15, 7);
  flap.lineTo(13, 13);
  flap.lineTo(1, 13);
  flap.closeSubpath();
  painter.setBrush(QColor(0xFF, 0xE0, 0x70));
  painter.drawPath(flap);
}

}  // namespace

QIcon LoadGlyph() { return DrawnIcon(DrawFolder); }

QIcon ZoomInGlyph()
{
  return DrawnIcon([](QPainter& painter) { DrawMagnifier(painter, true); });
}

QIcon ZoomOutGlyph()
{
  return DrawnIcon([](QPainter& painter) { DrawMagnifier(painter, false); });
}

}  // namespace editor
