#include "editor/EditMain.h"
#include "editor/CaseEditor.h"
#include "editor/ScenarioSaveAs.h"
#include "editor/SideSaver.h"

#include <algorithm>
#include <QFont>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>
#include <utility>

#include "editor/AboutEdit.h"
#include "editor/CaseLinesModel.h"
#include "editor/ForcesModel.h"
#include "editor/ComputeEndurance.h"
#include "editor/EditorActions.h"
#include "editor/RecoveryKeeper.h"
#include "editor/SaveEnvironment.h"
#include "editor/EditorSettings.h"
#include "editor/MapTools.h"
#include "editor/ShownCase.h"
#include "editor/ProblemsPanel.h"
#include "editor/TimelineDock.h"
#include "editor/TestForm.h"
#include "editor/MapNavigation.h"
#include "editor/UnsavedMarks.h"
#include "editor/MapZoom.h"
#include "globe/data/CustomVoduz4.h"
#include "globe/view/Voduz4.h"
#include "platform/FileError.h"
#include "platform/LocalFileSystem.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtRegionalSettings.h"
#include "platform/qt/QtUserDialogs.h"
#include "platform/qt/QtViewWidget.h"
#include "scenario/EditorGlobeSettings.h"
#include "scenario/Force.h"
#include "scenario/ScenarioLayers.h"
#include "scenario/ScenarioLoader.h"
#include "scenario/StartWorld.h"

namespace editor {

double OneHour = 0.0;

namespace {

constexpr int kSplitterWidth = 6;
constexpr int kLeftPanelWidth = 265;
constexpr int kMemoWidth = 119;
constexpr int kForcesListHeight = 177;
// How long the status bar says that a side file was saved.
constexpr int kSavedNoticeMs = 5000;

// A toolbar button of a command: its glyph and tooltip are the action's, its description the
// action's long hint.
QToolButton* CommandButton(QWidget* parent, const char* name, QAction* command, int x, int y)
{
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setDefaultAction(command);
  button->setAccessibleDescription(command->whatsThis());
  button->setGeometry(x, y, 25, 25);
  return button;
}

QSplitter* Splitter(Qt::Orientation orientation, const char* name, QWidget* parent)
{
  auto* splitter = new QSplitter(orientation, parent);
  splitter->setObjectName(name);
  splitter->setHandleWidth(kSplitterWidth);
  splitter->setChildrenCollapsible(false);
  return splitter;
}

const char* const kDialogFolderKey = "session/lastDirectory";

// Where the directory dialog starts: the folder of the directory last chosen in it, else the
// program's folder.
std::string DialogStartFolder(const std::string& programDir)
{
  const std::string last = EditorSettings().value(kDialogFolderKey).toString().toStdString();
  std::error_code error;
  return !last.empty() && std::filesystem::is_directory(last, error) ? last : ProgramFolder(programDir);
}

void RememberDialogFolder(const std::string& chosen)
{
  std::filesystem::path folder(chosen);
  if (!folder.has_filename()) folder = folder.parent_path();
  EditorSettings().setValue(kDialogFolderKey, QString::fromStdString(folder.parent_path().string()));
}

}  // namespace

void ShowReadableLabels(globe::TVoduz4& map, bool readable)
{
  map.SetLabelLook({.Place = readable, .Halo = readable, .MinLegibleSize = readable});
}

std::unique_ptr<globe::TVoduz4> NewGlobeMap()
{
  auto map = std::make_unique<globe::TVoduz4>();
  scenario::ApplyGlobeStartSettings(*map);
  // Labels that would print over each other are left out, the most useful kept.
  map->SetTitlePriority(scenario::ScenarioTitlePriority);
  ShowReadableLabels(*map, ReadableLabelsChosen());
  return map;
}

TfrmEditMain::TfrmEditMain(std::unique_ptr<platform::UserDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(std::move(dialogs))
{
  setObjectName("frmEditMain");
  if (!dialogs_) dialogs_ = std::make_unique<platform::QtUserDialogs>(this, "VRK editor");
  regional_ = platform::RegionalSettingsFromLocale(QLocale());

  setWindowTitle("Corvalis scenario editor");
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  setFont(font);
  move(6, 23);
  resize(983, 679);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  document_ = std::make_unique<TEditorDocument>();
  undoStack_ = &document_->UndoStack();
  connect(document_.get(), &TEditorDocument::Refused, this,
          [this](const QString& reason) { dialogs_->ShowError(reason.toStdString()); });
  actions_ = new TEditorActions(*this, *undoStack_);
  dkProblems = new TdkProblems(this);
  actions_->Adopt(TCommand::Problems, dkProblems->toggleViewAction());
  CreateToolbar(central);
  column->addWidget(pnToolbar);

  pnMain = Splitter(Qt::Horizontal, "pnMain", central);
  CreateLeftPanel();
  pnMain->addWidget(pnLeft);
  Globe = new platform::QtViewWidget(pnMain);
  Globe->setObjectName("Globe");
  Globe->setMinimumSize(50, 50);
  globeMap_ = NewGlobeMap();
  globeView_ = globeMap_.get();
  Globe->SetEventSink(globeMap_.get());
  globeMap_->SetHost(Globe);
  pnMain->addWidget(Globe);
  Memo1 = new QPlainTextEdit(pnMain);
  Memo1->setObjectName("Memo1");
  pnMain->addWidget(Memo1);
  pnMain->setStretchFactor(0, 0);
  pnMain->setStretchFactor(1, 1);
  pnMain->setStretchFactor(2, 0);
  pnMain->setSizes({kLeftPanelWidth, width() - kLeftPanelWidth - kMemoWidth - 2 * kSplitterWidth,
                    kMemoWidth});
  column->addWidget(pnMain, 1);

  CreateMenus();
  CreatePopups();
  CreateStatusBar();
  ConnectMapEvents();
  CreateViewMenu();
  addDockWidget(Qt::BottomDockWidgetArea, dkProblems);
  dkProblems->hide();
  CreateTimelineDock();
  CreateSessionMenus();


  // The side windows, created after the main window and kept until the program ends.
  frmShowFile = new TfrmShowFile(this);
  dlgComputeEndurance = new TdlgComputeEndurance(*dialogs_, this);
  dlgAbout = new TdlgAbout(this);

  files_ = std::make_unique<platform::LocalFileSystem>();
  try {
    launchFolder_ = Files().CurrentDirectory();
  } catch (const platform::EFileError&) {
    // Started in a folder that went away: relative names cannot be found from it.
  }
  saver_ = std::make_unique<TSideSaver>(document_, files_, *dialogs_);
  saver_->SaveReadOnlySide = [this](const std::string& file) { return saveAs_->OfferSaveAs(file); };
  recovery_ = new TRecoveryKeeper(document_, files_, *dialogs_, regional_, this);
  caseEditor_ = new TCaseEditor({lvForces, tcCasesTabs, lbPoints, puCaseList, forcesModel_, caseLines_, dkTimeline,
                                 this, actions_, saver_.get(), [this](bool reveal) { ShowProblems(reveal); }},
                                globeMap_, document_, files_, *dialogs_, edit_, regional_, programDir_);
  caseEditor_->ConnectCaseEditing();
  new TUnsavedMarks(*this, *document_, *forcesModel_);
  connect(document_.get(), &TEditorDocument::SavedStateChanged, caseEditor_, &TCaseEditor::UpdateCommands);
  saver_->OnSaved = [this](const std::string& fileName) {
    statusBar()->showMessage("Saved " + QString::fromStdString(fileName), kSavedNoticeMs);
  };
  RestoreLayout();
  SetProgramDir(programDir_);
}

void TfrmEditMain::SetProgramDir(std::string dir)
{
  programDir_ = std::move(dir);
  // Before any scenario the map shows the program's own land and countries (none when missing);
  // a loaded scenario's own environment stays.
  if (Scenario().ScenarioDir.empty() && scenario::ShowStartWorld(*globeMap_, ProgramFolder(programDir_))) {
    ShowWholeGlobe(*globeMap_);
    // Once the window has its first size, the globe is fitted to it again.
    QTimer::singleShot(0, this, [this] {
      if (Scenario().ScenarioDir.empty()) ShowWholeGlobe(*globeMap_);
    });
  }
}

TfrmEditMain::~TfrmEditMain()
{
  // Closing the window hides the Timeline dock after the map is gone: no redraw then.
  disconnect(dkTimeline, nullptr, this, nullptr);
  // The scenario is released while the map that holds its objects still exists.
  document_.reset();
  // The map window outlives the view by a moment: stop it forwarding events first.
  Globe->SetEventSink(nullptr);
  globeMap_->SetHost(nullptr);
}

void TfrmEditMain::CreateToolbar(QWidget* parent)
{
  pnToolbar = new QWidget(parent);
  pnToolbar->setObjectName("pnToolbar");
  pnToolbar->setFixedHeight(35);

  sbLoad = CommandButton(pnToolbar, "sbLoad", Actions()[TCommand::Open], 10, 5);
  sbLoad->setAutoRaise(true);
  ZoomInBtn = CommandButton(pnToolbar, "ZoomInBtn", Actions()[TCommand::ZoomIn], 73, 5);
  ZoomOutBtn = CommandButton(pnToolbar, "ZoomOutBtn", Actions()[TCommand::ZoomOut], 97, 5);

  auto* timeLabel = new QLabel("Time", pnToolbar);
  timeLabel->setObjectName("lbTime");
  timeLabel->move(406, 9);
  timeLabel->adjustSize();
  stTime = new QLabel(pnToolbar);
  stTime->setObjectName("stTime");
  stTime->setGeometry(440, 8, 161, 17);
  stTime->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  stTime->installEventFilter(this);
  stTime->setToolTip("Scenario start (Alt + right click: endurance calculator)");
}

void TfrmEditMain::CreateLeftPanel()
{
  pnLeft = Splitter(Qt::Vertical, "pnLeft", pnMain);

  lvForces = new QTreeView(pnLeft);
  lvForces->setObjectName("lvForces");
  forcesModel_ = new TForcesModel(this);
  lvForces->setModel(forcesModel_);
  lvForces->setRootIsDecorated(false);
  lvForces->setSelectionMode(QAbstractItemView::SingleSelection);
  lvForces->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvForces->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvForces->setColumnWidth(0, 70);  // widened to the names once forces are listed
  lvForces->setColumnWidth(1, 50);
  lvForces->setColumnWidth(2, 150);
  lvForces->header()->setStretchLastSection(false);
  // Selected rows keep their highlight when the list loses the focus.
  QPalette palette = lvForces->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  lvForces->setPalette(palette);
  pnLeft->addWidget(lvForces);

  auto* lower = new QWidget(pnLeft);
  auto* lowerColumn = new QVBoxLayout(lower);
  lowerColumn->setContentsMargins(0, 0, 0, 0);
  lowerColumn->setSpacing(0);
  pnSpeed = new QWidget(lower);
  pnSpeed->setObjectName("pnSpeed");
  pnSpeed->setFixedHeight(49);
  lowerColumn->addWidget(pnSpeed);

  tcCases = new QWidget(lower);
  tcCases->setObjectName("tcCases");
  auto* tabColumn = new QVBoxLayout(tcCases);
  tabColumn->setContentsMargins(0, 0, 0, 0);
  tabColumn->setSpacing(0);
  tcCasesTabs = new QTabBar(tcCases);
  tcCasesTabs->setObjectName("tcCasesTabs");
  tcCasesTabs->setExpanding(false);
  // Narrow tabs, 30 pixels each with their padding.
  tcCasesTabs->setStyleSheet("QTabBar::tab { min-width: 20px; padding: 3px 5px; }");
  for (int n = 1; n <= kCaseCount; ++n) {
    tcCasesTabs->addTab(QString::number(n));
    tcCasesTabs->setTabToolTip(n - 1, QString("Case %1").arg(n));
  }
  tcCasesTabs->setCurrentIndex(0);
  tabColumn->addWidget(tcCasesTabs);
  lbPoints = new QListView(tcCases);
  lbPoints->setObjectName("lbPoints");
  caseLines_ = new TCaseLinesModel(this);
  lbPoints->setModel(caseLines_);
  lbPoints->setSelectionMode(QAbstractItemView::SingleSelection);
  lbPoints->setUniformItemSizes(true);
  lbPoints->setStyleSheet("QListView::item { height: 13px; }");
  tabColumn->addWidget(lbPoints, 1);
  lowerColumn->addWidget(tcCases, 1);
  pnLeft->addWidget(lower);

  pnLeft->setStretchFactor(0, 0);
  pnLeft->setStretchFactor(1, 1);
  pnLeft->setSizes({kForcesListHeight, 400});
}

void TfrmEditMain::CreateMenus()
{
  const TEditorActions& commands = Actions();
  File1 = menuBar()->addMenu("&File");
  File1->setObjectName("File1");
  File1->addAction(commands[TCommand::Open]);
  File1->addSeparator();
  File1->addAction(commands[TCommand::ViewShipFile]);
  File1->addAction(commands[TCommand::Save]);
  File1->addAction(commands[TCommand::SaveScenarioAs]);
  File1->addSeparator();
  File1->addAction(commands[TCommand::Exit]);

  Edit2 = menuBar()->addMenu("&Edit");
  Edit2->setObjectName("Edit2");
  Edit2->addAction(commands[TCommand::Undo]);
  Edit2->addAction(commands[TCommand::Redo]);

  Map1 = menuBar()->addMenu("Map");
  Map1->setObjectName("Map1");
  Map1->menuAction()->setVisible(false);
  Map1->addAction(commands[TCommand::SaveEnvironment]);

  About2 = menuBar()->addMenu("&About VRK editor");
  About2->setObjectName("About2");
  About2->addAction(commands[TCommand::About]);

  // The load command: a directory chosen in the dialog (starting in the folder last chosen
  // from, else the program's folder) is opened with OpenDirectory. It stays offered.
  connect(commands[TCommand::Open], &QAction::triggered, this, [this] {
    const std::string dir = dialogs_->ChooseDirectory(DialogStartFolder(programDir_));
    if (dir.empty()) return;
    RememberDialogFolder(dir);
    OpenDirectory(dir);
  });
  connect(commands[TCommand::ViewShipFile], &QAction::triggered, this, [this] {
    const scenario::TForce* force = document_->Document().CurrentForce();
    if (force == nullptr || force->Side < 0 || force->Side > 1) return;
    const int side = force->Side;
    frmShowFile->ShowLines(side, Scenario().SideLines[static_cast<std::size_t>(side)]);
    frmShowFile->exec();
  });
  connect(commands[TCommand::Exit], &QAction::triggered, this, [this] { close(); });
  connect(commands[TCommand::SaveEnvironment], &QAction::triggered, this,
          [this] { SaveEnvironmentAs(globeView_, *dialogs_, Files()); });
  connect(commands[TCommand::About], &QAction::triggered, this, [this] { dlgAbout->ShowAbout(); });
}

void TfrmEditMain::CreatePopups()
{
  const TEditorActions& commands = Actions();
  puForces = new QMenu(this);
  puForces->setObjectName("puForces");
  puForces->addAction(commands[TCommand::EditForce]);
  lvForces->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lvForces, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { puForces->popup(lvForces->viewport()->mapToGlobal(at)); });

  puCaseList = new QMenu(this);
  puCaseList->setObjectName("puCaseList");
  puCaseList->addAction(commands[TCommand::AddCase]);
  AddcaseSeparator = puCaseList->addSeparator();
  AddcaseSeparator->setVisible(commands[TCommand::AddCase]->isVisible());
  connect(commands[TCommand::AddCase], &QAction::visibleChanged, this,
          [this] { AddcaseSeparator->setVisible(Actions()[TCommand::AddCase]->isVisible()); });
  puCaseList->addAction(commands[TCommand::PickPoint]);
  puCaseList->addAction(commands[TCommand::EditLine]);
  puCaseList->addSeparator();
  puCaseList->addAction(commands[TCommand::DeleteLine]);
  puCaseList->addSeparator();
  puCaseList->addAction(commands[TCommand::InsertLine]);
  lbPoints->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lbPoints, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { puCaseList->popup(lbPoints->viewport()->mapToGlobal(at)); });
}

void TfrmEditMain::CreateStatusBar()
{
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar");
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(17);
  constexpr std::array<int, 2> kFixedWidths = {100, 200};
  for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QString("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (i < kFixedWidths.size()) {
      panel->setFixedWidth(kFixedWidths[i]);
      bar->addWidget(panel);
    } else {
      bar->addWidget(panel, 1);
    }
    StatusPanels[i] = panel;
  }
}

void TfrmEditMain::showEvent(QShowEvent* event)
{
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    OneHour = 1.0 / 24.0;
    // The splash opens once the main window is on the screen, so that it shows above it; the
    // directory of the command line is opened when the splash has closed.
    QTimer::singleShot(0, this, [this] {
      if (splashOnShow_) dlgAbout->ShowAsSplash();
      if (!startDirectory_.empty()) OpenDirectory(std::exchange(startDirectory_, {}));
    });
  }
  if (showScenarioPending_) QTimer::singleShot(0, this, [this] { if (showScenarioPending_) ShowScenarioIfAway(); });
}


bool TfrmEditMain::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == stTime && event->type() == QEvent::MouseButtonPress) {
    // Alt + right press on the time box opens the endurance calculator.
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton && (mouse->modifiers() & Qt::AltModifier))
      Actions()[TCommand::Endurance]->trigger();
    return true;
  }
  if (watched == lbPoints && event->type() == QEvent::KeyPress) {
    // The keys of the case list's commands act only while the command is offered.
    if (QAction* command = Actions().CaseListKeyCommand(static_cast<QKeyEvent*>(event)->key())) {
      if (command->isEnabled()) command->trigger();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace editor
