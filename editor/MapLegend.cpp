#include "editor/MapLegend.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/Color.h"
#include "scenario/RouteDrawing.h"

namespace editor {

namespace {

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
  html += "</table><p>Drag a waypoint to move it; Shift + click a leg inserts a waypoint.<br>"
          "Wheel zooms about the cursor (Ctrl: finer); arrows turn; + and - zoom;<br>"
          "Home shows the scenario, F the selected force.</p>";
  return html;
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
  return window;
}

}  // namespace editor
