// The main window's map: its events handed to the map tools and the navigation, the routes of
// the selected force with the warning marks of its findings, and Pick point.
#include <QLabel>
#include <QListView>
#include "editor/CaseLinesModel.h"
#include <QPlainTextEdit>
#include <QTimer>

#include "editor/CaseEditor.h"
#include "editor/EditMain.h"
#include "editor/EditorActions.h"
#include "editor/MapNavigation.h"
#include "editor/MapTools.h"
#include "editor/ShownCase.h"
#include "editor/ForcesModel.h"
#include "editor/TimelineDock.h"
#include "platform/qt/QtViewWidget.h"
#include "globe/view/Voduz4.h"
#include "scenario/FindingMarks.h"
#include "scenario/Force.h"
#include "scenario/RouteDrawing.h"
#include "scenario/TimelineMarks.h"
#include "scenario/ViewMapPainter.h"

namespace editor {

namespace {

// The mouse rests this long over a waypoint or leg before its tooltip shows.
constexpr int kHoverMilliseconds = 500;

// The map tools' view of the window's shown case.
class TWindowShownCase : public TShownCase {
 public:
  TWindowShownCase(TfrmEditMain& window, TEditState& state, const std::unique_ptr<TEditorDocument>& document)
      : window_(window), state_(state), document_(document)
  {
  }
  scenario::TForce* Force() const override { return document_->Document().CurrentForce(); }
  int CaseNumber() const override { return document_->Document().CurrentCase(); }
  scenario::TForceCases& Cases() override { return state_.Cases; }
  platform::TextLines Lines() const override { return window_.CaseLines().Lines(); }
  void Reparse() override { window_.CaseEditor().ReparseCurrentCase(); }
  scenario::TCaseTiming Timing() override
  {
    scenario::TCaseTiming timing = TShownCase::Timing();
    timing.StartTime = window_.Scenario().StartTime;
    timing.OneHour = OneHour;
    return timing;
  }
  bool ReplaceLine(int row, const std::string& text, const QString& stepName) override
  {
    return Force() != nullptr && window_.CaseEditor().ReplaceCaseLine(*Force(), CaseNumber(), row, text, stepName);
  }
  bool InsertLine(int row, const std::string& text, const QString& stepName) override
  {
    return Force() != nullptr && window_.CaseEditor().InsertCaseLine(*Force(), CaseNumber(), row, text, stepName);
  }

 private:
  TfrmEditMain& window_;
  TEditState& state_;
  // The window's document, replaced at each load.
  const std::unique_ptr<TEditorDocument>& document_;
};

}  // namespace

void TfrmEditMain::ConnectMapEvents()
{
  shownCase_ = std::make_unique<TWindowShownCase>(*this, edit_, document_);
  tools_ = std::make_unique<TMapTools>(*shownCase_, *StatusPanels[1], *StatusPanels[2], *Memo1, regional_);
  tools_->OnClick = [this](int x, int y) { ClickMapObject(x, y); };
  hoverTimer_ = new QTimer(this);
  hoverTimer_->setSingleShot(true);
  hoverTimer_->setInterval(kHoverMilliseconds);
  connect(hoverTimer_, &QTimer::timeout, this, [this] { ShowHoverTooltip(); });
  tools_->OnHover = [this](int x, int y) {
    hoverAt_ = {x, y};
    hoverTimer_->start();
  };
  // A press over a handle grabs it: the move cursor says so.
  tools_->OnHandleHover = [this](bool over) {
    if (over) Globe->setCursor(Qt::SizeAllCursor);
    else Globe->unsetCursor();
  };
  HookMapEvents();
  // The next left click on the map gives the selected line a new position.
  connect(Actions()[TCommand::PickPoint], &QAction::triggered, this, [this] {
    if (const int row = caseEditor_->SelectedLine(); row >= 0) tools_->StartPickPoint(row);
  });
}

void TfrmEditMain::HookMapEvents()
{
  globe::TVoduz4& map = GlobeMap();
  tools_->Hook(map);
  map.OnRender = [this](globe::TVoduz4& view) { GlobeRender(view); };
  map.OnMouseWheel = [this](globe::TVoduz4&, platform::ShiftState shift, int delta, int x, int y) {
    WheelZoom(GlobeMap(), shift, delta, x, y, wheelRest_);
  };
  map.OnMouseLeave = [this](globe::TVoduz4& view) {
    hoverTimer_->stop();
    tools_->Leave(view);
  };
}

void TfrmEditMain::GlobeRender(globe::TVoduz4& view)
{
  scenario::DrawBasesOnView(Scenario().BaseList, view);
  scenario::TRouteDrawing routes(view, edit_.Cases);
  routes.CurrentCase = shownCase_->CaseNumber();
  routes.SelectedPoint = edit_.SelectedPoint;
  routes.CurrentSpeed = shownCase_->Force() != nullptr ? shownCase_->Force()->CurrentSpeed : 0;
  routes.StartTime = Scenario().StartTime;
  routes.OneHour = OneHour;
  routes.DrawRoutes();
  scenario::DrawFindingMarks(view, document_->Document().Findings(), shownCase_->Force());
  if (dkTimeline->isVisible()) scenario::DrawTimelineMarks(view, dkTimeline->Frame());
}

void TfrmEditMain::CreateTimelineDock()
{
  dkTimeline = new TdkTimeline(this);
  dkTimeline->ConnectAction(Actions()[TCommand::Timeline]);
  dkTimeline->SetSource([this] {
    return TTimelineSource{&Scenario(), globeMap_.get(), shownCase_->Force(), shownCase_->CaseNumber()};
  });
  connect(dkTimeline, &TdkTimeline::FrameChanged, this, [this] { GlobeMap().RedrawGlobe(); });
  connect(dkTimeline, &QDockWidget::visibilityChanged, this,
          [this](bool visible) { scenario::ShowForceTitles(*globeMap_, !visible); });
  connect(dkTimeline, &TdkTimeline::ForceActivated, this,
          [this](const QString& force) { caseEditor_->SelectForceRow(forcesModel_->RowOf(force), false); });
  addDockWidget(Qt::BottomDockWidgetArea, dkTimeline);
  dkTimeline->hide();
}

}  // namespace editor
