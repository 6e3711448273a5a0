#include "editor/MapLegend.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/Color.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/RouteDrawing.h"
#include "scenario/WaypointHandles.h"

namespace editor {

namespace {

QColor Colour(platform::TColor colour)
{
  return QColor(platform::ColorRed(colour), platform::ColorGreen(colour), platform::ColorBlue(colour));
}

QString Html(platform::TColor colour)
{
  return QString("#%1%2%3")
      .arg(platform::ColorRed(colour), 2, 16, QChar('0'))
      .arg(platform::ColorGreen(colour), 2, 16, QChar('0'))
      .arg(platform::ColorBlue(colour), 2, 16, QChar('0'));
}

// A sample of a line or mark in a colour, then its meaning.
QString Row(const QString& sample, platform::TColor colour, const QString& meaning)
{
  return QString("<tr><td style='color:%1'><b>%2</b></td><td>%3</td></tr>").arg(Html(colour), sample, meaning);
}

QString LegendHtml()
{
  QString html = "<table cellspacing='4'>";
  html += Row("&#9675; &#9632;", platform::clRed, "Axis: task force (circle), port and airfield");
  html += Row("&#9675; &#9632;", platform::clBlue, "Allied: task force (circle), port and airfield");
  html += Row("&middot;&middot;&middot;&middot;", platform::clRed, "Reconnaissance sector (dotted, side colour)");
  html += Row("&#8212;&#8212;", platform::clGray, "Strike range (grey circle)");
  html += Row("- - -", platform::clBlue, "Minefield (dashed, side colour)");
  html += Row("&#9633;", platform::clRed, "Submarine zone (outline, side colour)");
  for (int n = 1; n <= 6; ++n)
    html += Row("&#8212;&#8212;", scenario::CaseColour(n), QString("Case %1 route; the shown case is thick").arg(n));
  html += Row("150830", platform::clRed, "Arrival (day hour minute) by day");
  html += Row("150830", platform::clGray, "Arrival in twilight");
  html += Row("150830", platform::clBlack, "Arrival at night");
  html += Row("&#9675;", scenario::CaseColour(1), "The selected line's point");
  html += Row("&#9633;", scenario::CaseColour(1),
              "Handle of the shown case's start, waypoints and targets (drag it to move the point)");
  html += "</table><p>Drag a waypoint to move it; Shift + click a leg inserts a waypoint.<br>"
          "Wheel zooms about the cursor (Ctrl: finer); arrows turn; + and - zoom;<br>"
          "Home shows the scenario, F the selected force.</p>";
  return html;
}

// A piece of sea with a route, its handles and a label across the line: the label's halo in
// the sea colour keeps it readable where the line crosses it. Drawn for the screen's pixel
// ratio, so it is sharp on a high-density screen too.
QPixmap HaloSample(const QFont& font, qreal ratio)
{
  constexpr int kWidth = 220, kHeight = 36, kLineY = 22;
  QPixmap sample(QSize(kWidth, kHeight) * ratio);
  sample.setDevicePixelRatio(ratio);
  const QColor sea = Colour(scenario::kEditorSeaColour), route = Colour(scenario::CaseColour(1));
  sample.fill(sea);
  QPainter painter(&sample);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(route, 2));
  painter.drawLine(12, kLineY, kWidth - 12, kLineY);
  painter.setPen(QPen(route, 1));
  painter.setBrush(Qt::white);
  constexpr int h = scenario::kHandleHalfSide;
  for (const int x : {12, kWidth - 12}) painter.drawRect(x - h, kLineY - h, 2 * h, 2 * h);
  QFont labelFont = font;
  labelFont.setPointSize(10);
  painter.setFont(labelFont);
  const QPoint at(70, kLineY + 4);
  painter.setPen(sea);
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (dx != 0 || dy != 0) painter.drawText(at + QPoint(dx, dy), "Force A1 150830");
  painter.setPen(Qt::black);
  painter.drawText(at, "Force A1 150830");
  return sample;
}

}  // namespace

QWidget* CreateMapLegend(QWidget* parent)
{
  auto* window = new QWidget(parent, Qt::Tool);
  window->setObjectName("frmLegend");
  window->setWindowTitle("Legend");
  auto* column = new QVBoxLayout(window);
  auto* text = new QLabel(LegendHtml(), window);
  text->setObjectName("lbLegend");
  text->setTextFormat(Qt::RichText);
  column->addWidget(text);
  auto* sample = new QLabel(window);
  sample->setObjectName("lbLegendHalo");
  sample->setPixmap(HaloSample(window->font(), window->devicePixelRatioF()));
  column->addWidget(sample);
  auto* halo = new QLabel("Labels sit beside their marks, clear of other labels and lines; a thin halo in the sea colour<br>"
                          "keeps them readable over lines and land (View &gt; Readable labels).", window);
  halo->setTextFormat(Qt::RichText);
  column->addWidget(halo);
  return window;
}

}  // namespace editor
