#include "editor/MeasureTool.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <array>

#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/Voduz4.h"
#include "platform/FloatText.h"
#include "editor/ShownCase.h"
#include "globe/view/TitleSpace.h"
#include "scenario/PositionText.h"
#include "scenario/RouteHitTest.h"

namespace editor {

namespace {

// Half the length of the origin cross's arms, pixels.
constexpr int kCrossArm = 12;
// The distance and bearing text stands this far right of and below the cursor.
constexpr int kReadoutOffset = 14;
constexpr const char* kReadoutFont = "Arial";
constexpr int kReadoutFontPixels = 12;
// Room between the readout's text and its box, logical pixels.
constexpr int kReadoutPadding = 2;
// Straight pieces of the dotted line the readout keeps off.
constexpr int kReadoutPathPieces = 16;
// Readout numbers: one decimal, at most 7 significant digits.
constexpr int kReadoutPrecision = 7;
constexpr int kReadoutDecimals = 1;

QString ShortPosition(const globe::TGeoPoint& point)
{
  return QString::fromStdString(scenario::FormatPosition(point, false));
}

bool NoModifierKey(const platform::ShiftState& shift) { return !shift.Shift && !shift.Alt && !shift.Ctrl; }

}  // namespace

TMeasureTool::TMeasureTool(QLabel& originPanel, QLabel& readoutPanel, QPlainTextEdit& log,
                           const platform::RegionalSettings& regional)
    : originPanel_(originPanel), readoutPanel_(readoutPanel), log_(log), regional_(regional)
{
}

bool TMeasureTool::MouseRelease(globe::TVoduz4& view, const TMapMouse& mouse)
{
  globe::TGeoPoint point;
  if (!view.DeviceXYToLL(mouse.X, mouse.Y, point)) return true;
  if (NoModifierKey(mouse.Shift)) {
    origin_ = point;
    measuring_ = true;
    cursor_.reset();
    originPanel_.setText("Origin: " + QString::fromStdString(scenario::FormatPosition(point, true)));
    view.InvalidateWindow();
  } else if (mouse.Shift.Ctrl && !mouse.Shift.Shift && !mouse.Shift.Alt) {
    origin_ = point;
    log_.appendPlainText("LL=" + ShortPosition(point));
  }
  return true;
}

void TMeasureTool::EndMeasuring(globe::TVoduz4& view)
{
  if (!measuring_) return;
  measuring_ = false;
  originPanel_.clear();
  readoutPanel_.clear();
  view.InvalidateWindow();
}

void TMeasureTool::Cancel()
{
  measuring_ = false;
  origin_ = {};
  cursor_.reset();
}

QString TMeasureTool::Readout(const globe::TVoduz4& view, const globe::TGeoPoint& point) const
{
  const long double miles = globe::GUToUnits(globe::EllipsoidDistance(origin_, point, view.Projection().Spheroid()),
                                             globe::TGlobeUnitTypes::NauticalMile);
  // Bearings grow westward: turned into the true bearing, clockwise from north, 0 up to 360.
  long double bearing = -globe::GUToUnits(globe::InitialBearing(origin_, point), globe::TGlobeUnitTypes::Degree);
  if (bearing < 0) bearing += 360;
  if (bearing == 0) bearing = 0;  // no "-0.0" due north
  const auto fixed = [this](long double value) {
    return QString::fromStdString(platform::FormatFixed(value, kReadoutPrecision, kReadoutDecimals, regional_));
  };
  return "Dist: " + fixed(miles) + " Nm  Bearing: " + fixed(bearing) + " deg";
}

void TMeasureTool::MouseMove(globe::TVoduz4& view, const TMapMouse& mouse)
{
  globe::TGeoPoint point;
  if (!view.DeviceXYToLL(mouse.X, mouse.Y, point)) return;
  if (!measuring_) {
    originPanel_.clear();
    readoutPanel_.setText("  " + ShortPosition(point));
    return;
  }
  readoutPanel_.setText("  " + Readout(view, point));
  cursor_ = platform::TPoint{mouse.X, mouse.Y};
  view.InvalidateWindow();  // the dotted line follows the cursor
}

void TMeasureTool::Paint(globe::TVoduz4& view)
{
  if (!measuring_) return;
  platform::TPoint at;
  // An origin on the hidden side of the globe has no place in the window: no cross.
  if (!view.Projection().PointLLToDeviceXY(origin_, at)) return;
  globe::TGlobeCanvas& canvas = view.Canvas();
  platform::Pen pen;
  pen.Color = platform::clRed;
  pen.Width = view.DevicePixels(1);
  canvas.SetPen(pen);
  const int arm = view.DevicePixels(kCrossArm);
  const std::array<platform::TPoint, 2> across = {platform::TPoint{at.X - arm, at.Y}, platform::TPoint{at.X + arm, at.Y}};
  const std::array<platform::TPoint, 2> down = {platform::TPoint{at.X, at.Y - arm}, platform::TPoint{at.X, at.Y + arm}};
  canvas.Surface().Polyline(across);
  canvas.Surface().Polyline(down);
  globe::TGeoPoint cursor;
  if (!cursor_ || !view.DeviceXYToLL(cursor_->X, cursor_->Y, cursor)) return;
  pen.Style = platform::psDot;
  canvas.SetPen(pen);
  view.RenderGreatCircle(origin_, cursor, 0);
  pen.Style = platform::psSolid;
  canvas.SetPen(pen);
  PaintReadout(view, cursor);
}

void TMeasureTool::PaintReadout(globe::TVoduz4& view, const globe::TGeoPoint& cursor)
{
  globe::TGlobeCanvas& canvas = view.Canvas();
  globe::TGlobeFont font(kReadoutFont, kReadoutFontPixels, globe::TGlobeUnitTypes::Pixel, platform::clRed);
  if (!font.Realize(canvas, false)) return;
  canvas.Surface().SetBackgroundColor(platform::clWhite);
  // The readout is placed like the map's labels, clear of them, of the marks and of the dotted
  // line's last stretch; without placement it stands below right of the cursor.
  const scenario::TRouteLeg line{origin_, cursor, {}, {}, false};
  const auto pieces = scenario::LegOnWindow(line, ViewProjector(view), kReadoutPathPieces);
  globe::TTitleSpace plain;
  globe::TTitleSpace& space = view.TitleSpace() != nullptr ? *view.TitleSpace() : plain;
  readoutLabel_ = space.WriteOverlay(canvas.Surface(), Readout(view, cursor).toStdString(), canvas.Surface().State(),
                                     *cursor_, view.DevicePixels(kReadoutOffset), view.DevicePixels(kReadoutPadding),
                                     pieces.empty() ? std::vector<platform::TPoint>{} : pieces.back());
}

}  // namespace editor
