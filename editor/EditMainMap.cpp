// The main window's map interaction: the position and distance/bearing readouts, measuring from
// a double-clicked origin, logging positions, picking a case line's position, the origin cross
// and the routes of the selected force with the warning marks of its findings.
#include <QListWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUndoStack>
#include <cstdlib>
#include <array>

#include "editor/ApplicationCursor.h"
#include "editor/CaseEditCommands.h"
#include "editor/EditMain.h"
#include "globe/data/Geodesy.h"
#include "globe/data/GlobeUnits.h"
#include "globe/view/GlobeCanvas.h"
#include "globe/view/GlobeFont.h"
#include "globe/view/Voduz4.h"
#include "platform/FloatText.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/FindingMarks.h"
#include "scenario/Force.h"
#include "scenario/PositionLine.h"
#include "scenario/PositionText.h"
#include "scenario/RouteDrawing.h"
#include "scenario/ViewMapPainter.h"

namespace editor {

namespace {

// Half the length of the origin cross's arms, pixels.
constexpr int kCrossArm = 12;
// The mouse rests this long over a waypoint or leg before its tooltip shows.
constexpr int kHoverMilliseconds = 500;
// A press and release further apart than this (pixels) is a drag, not a click.
constexpr int kClickSlop = 2;
// The distance and bearing text stands this far right of and below the cursor.
constexpr int kReadoutOffset = 14;
constexpr const char* kReadoutFont = "Arial";
constexpr int kReadoutFontPixels = 12;
// Readout numbers: one decimal, at most 7 significant digits.
constexpr int kReadoutPrecision = 7;
constexpr int kReadoutDecimals = 1;

QString ShortPosition(const globe::TGeoPoint& point)
{
  return QString::fromStdString(scenario::FormatPosition(point, false));
}

bool NoModifierKey(const platform::ShiftState& shift) { return !shift.Shift && !shift.Alt && !shift.Ctrl; }

}  // namespace

void TfrmEditMain::ConnectMapEvents()
{
  HookMapEvents();
  connect(Pickpoint1, &QAction::triggered, this, [this] { Pickpoint1Click(); });
}

void TfrmEditMain::HookMapEvents()
{
  globe::TVoduz4& map = GlobeMap();
  map.OnRender = [this](globe::TVoduz4& view) { GlobeRender(view); };
  map.OnPaint = [this](globe::TVoduz4& view) { GlobePaint(view); };
  map.OnMouseDown = [this](globe::TVoduz4&, platform::MouseButton button, platform::ShiftState, int x, int y) {
    lastPressButton_ = button;
    pressAt_ = {x, y};
    pressMoved_ = false;
  };
  map.OnClaimMouseDown = [this](globe::TVoduz4&, platform::MouseButton button, platform::ShiftState shift, int x,
                                int y) { return GlobeClaimMouseDown(button, shift, x, y); };
  map.OnMouseWheel = [this](globe::TVoduz4&, platform::ShiftState shift, int delta, int x, int y) {
    GlobeMouseWheel(shift, delta, x, y);
  };
  map.OnKeyDown = [this](globe::TVoduz4&, platform::ViewKey key, platform::ShiftState shift) {
    return GlobeKeyDown(key, shift);
  };
  map.OnMouseLeave = [this](globe::TVoduz4&) { hoverTimer_->stop(); };
  hoverTimer_ = new QTimer(this);
  hoverTimer_->setSingleShot(true);
  hoverTimer_->setInterval(kHoverMilliseconds);
  connect(hoverTimer_, &QTimer::timeout, this, [this] { ShowHoverTooltip(); });
  map.OnDblClick = [this](globe::TVoduz4&) { GlobeDblClick(); };
  map.OnMouseUp = [this](globe::TVoduz4&, platform::MouseButton button, platform::ShiftState shift, int x, int y) {
    GlobeMouseUp(button, shift, x, y);
  };
  map.OnMouseMove = [this](globe::TVoduz4&, platform::ShiftState shift, int x, int y) { GlobeMouseMove(shift, x, y); };
}

void TfrmEditMain::GlobeRender(globe::TVoduz4& view)
{
  scenario::DrawBasesOnView(scenario_->BaseList, view);
  scenario::TRouteDrawing routes(view, Cases);
  routes.CurrentCase = CurrentCase;
  routes.SelectedPoint = SelectedPoint;
  routes.CurrentSpeed = CurrentForce != nullptr ? CurrentForce->CurrentSpeed : 0;
  routes.StartTime = scenario_->StartTime;
  routes.OneHour = OneHour;
  routes.DrawRoutes();
  scenario::DrawFindingMarks(view, findings_, CurrentForce);
}

void TfrmEditMain::GlobePaint(globe::TVoduz4& view)
{
  if (!Measuring) return;
  platform::TPoint at;
  // An origin on the hidden side of the globe has no place in the window: no cross.
  if (!view.Projection().PointLLToDeviceXY(MeasureOrigin, at)) return;
  globe::TGlobeCanvas& canvas = view.Canvas();
  platform::Pen pen;
  pen.Color = platform::clRed;
  pen.Width = 1;
  canvas.SetPen(pen);
  const std::array<platform::TPoint, 2> across = {platform::TPoint{at.X - kCrossArm, at.Y},
                                                   platform::TPoint{at.X + kCrossArm, at.Y}};
  const std::array<platform::TPoint, 2> down = {platform::TPoint{at.X, at.Y - kCrossArm},
                                                 platform::TPoint{at.X, at.Y + kCrossArm}};
  canvas.Surface().Polyline(across);
  canvas.Surface().Polyline(down);
  globe::TGeoPoint cursor;
  if (!measureCursor_ || !view.DeviceXYToLL(measureCursor_->X, measureCursor_->Y, cursor)) return;
  pen.Style = platform::psDot;
  canvas.SetPen(pen);
  view.RenderGreatCircle(MeasureOrigin, cursor, 0);
  globe::TGlobeFont font(kReadoutFont, kReadoutFontPixels, globe::TGlobeUnitTypes::Pixel, platform::clRed);
  if (!font.Realize(canvas, false)) return;
  canvas.Surface().SetBackgroundMode(platform::BackgroundMode::Opaque);
  canvas.Surface().SetBackgroundColor(platform::clWhite);
  canvas.Surface().TextOut(measureCursor_->X + kReadoutOffset, measureCursor_->Y + kReadoutOffset,
                           MeasureReadout(cursor).toStdString());
}

void TfrmEditMain::Pickpoint1Click()
{
  const int row = lbPoints->currentRow();
  if (row < 0 || !lbPoints->item(row)->isSelected()) return;
  MouseMode = mmPickPoint;
  ShowCrossCursor();
  PickLine = row;
  pickText_ = CaseListLine(row);
  pickCase_ = CurrentCase;
  pickForce_ = CurrentForce;
}

void TfrmEditMain::GlobeDblClick()
{
  // Only a double-click of the left button starts measuring or logs a position.
  if (lastPressButton_ == platform::MouseButton::Left) MouseMode = mmDoubleClicked;
}

void TfrmEditMain::PickPoint(const globe::TGeoPoint& point)
{
  RestoreNormalCursor();
  // The line must still be the one Pick point was given for: not after an edit, another tab or
  // another force.
  if (CurrentForce == nullptr || PickLine < 0 || PickLine >= lbPoints->count() || CurrentCase != pickCase_ || CurrentForce != pickForce_ ||
      CaseListLine(PickLine) != pickText_)
    return;
  const TEditStart start = StartEdit(*CurrentForce);
  SetCaseListLine(PickLine, scenario::PositionLine(pickText_, point));
  ReparseCurrentCase();
  GlobeMap().GlobeNotify(globe::gnSelectionChange, nullptr);
  StoreCaseList();
  // The map's mark of the selected line moves with it to the picked position.
  if (lbPoints->currentRow() == PickLine) lbPointsClick();
  if (auto change = MadeChange(start, {CurrentForce, CurrentCase, PickLine})) {
    undoStack_->push(new TPickPointCommand(*this, std::move(*change)));
  }
}

void TfrmEditMain::GlobeMouseUp(platform::MouseButton button, platform::ShiftState shift, int x, int y)
{
  if (DirectMouseUp(button, shift, x, y)) {
    MouseMode = mmIdle;
    return;
  }
  if (button != platform::MouseButton::Left) return;
  if (Measuring) {
    Measuring = false;
    // The origin cross and the distance and bearing readout go.
    StatusPanels[1]->clear();
    StatusPanels[2]->clear();
    GlobeMap().InvalidateWindow();
  }
  globe::TGeoPoint point;
  if (GlobeMap().DeviceXYToLL(x, y, point)) {
    if (MouseMode == mmPickPoint) {
      PickPoint(point);
    } else if (MouseMode == mmDoubleClicked) {
      if (NoModifierKey(shift)) {
        MeasureOrigin = point;
        Measuring = true;
        measureCursor_.reset();
        StatusPanels[1]->setText("Origin: " + QString::fromStdString(scenario::FormatPosition(point, true)));
        GlobeMap().InvalidateWindow();
      } else if (shift.Ctrl && !shift.Shift && !shift.Alt) {
        MeasureOrigin = point;
        Memo1->appendPlainText("LL=" + ShortPosition(point));
      }
    }
  } else if (MouseMode == mmPickPoint) {
    RestoreNormalCursor();
  }
  MouseMode = mmIdle;
}

QString TfrmEditMain::MeasureReadout(const globe::TGeoPoint& point) const
{
  const long double miles = globe::GUToUnits(
      globe::EllipsoidDistance(MeasureOrigin, point, globeMap_->Projection().Spheroid()), globe::TGlobeUnitTypes::NauticalMile);
  // Bearings grow westward: turned into the true bearing, clockwise from north, 0 up to 360.
  long double bearing = -globe::GUToUnits(globe::InitialBearing(MeasureOrigin, point), globe::TGlobeUnitTypes::Degree);
  if (bearing < 0) bearing += 360;
  if (bearing == 0) bearing = 0;  // no "-0.0" due north
  const auto fixed = [this](long double value) {
    return QString::fromStdString(platform::FormatFixed(value, kReadoutPrecision, kReadoutDecimals, regional_));
  };
  return "Dist: " + fixed(miles) + " Nm  Bearing: " + fixed(bearing) + " deg";
}

void TfrmEditMain::GlobeMouseMove(platform::ShiftState shift, int x, int y)
{
  if (std::abs(x - pressAt_.X) > kClickSlop || std::abs(y - pressAt_.Y) > kClickSlop) pressMoved_ = true;
  if (drag_.Active) {
    DragMouseMove(x, y);
  } else if (!shift.Left && !shift.Right && !shift.Middle) {
    hoverAt_ = {x, y};
    hoverTimer_->start();
  }
  globe::TGeoPoint point;
  if (!GlobeMap().DeviceXYToLL(x, y, point)) return;
  if (!Measuring) {
    StatusPanels[1]->clear();
    StatusPanels[2]->setText("  " + ShortPosition(point));
    return;
  }
  StatusPanels[2]->setText("  " + MeasureReadout(point));
  measureCursor_ = platform::TPoint{x, y};
  GlobeMap().InvalidateWindow();  // the dotted line follows the cursor
}

}  // namespace editor
