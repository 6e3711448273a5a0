#include "editor/EditMain.h"

#include <algorithm>
#include <QFont>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
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
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <exception>
#include <utility>

#include "editor/AboutEdit.h"
#include "editor/ComputeEndurance.h"
#include "editor/ProblemsPanel.h"
#include "editor/TestForm.h"
#include "editor/MapZoom.h"
#include "editor/ToolbarGlyphs.h"
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

namespace editor {

double OneHour = 0.0;

namespace {

constexpr int kSplitterWidth = 6;
constexpr int kLeftPanelWidth = 265;
constexpr int kMemoWidth = 119;
constexpr int kForcesListHeight = 177;

QToolButton* GlyphButton(QWidget* parent, const char* name, const QIcon& glyph, int x, int y)
{
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(glyph);
  button->setGeometry(x, y, 25, 25);
  return button;
}

// Sets a hint of the form "short|long": the short part is the tooltip, the long part the
// description.
void SetHint(QWidget* widget, const QString& hint)
{
  const qsizetype bar = hint.indexOf('|');
  widget->setToolTip(bar < 0 ? hint : hint.left(bar));
  widget->setAccessibleDescription(bar < 0 ? hint : hint.mid(bar + 1));
}

QSplitter* Splitter(Qt::Orientation orientation, const char* name, QWidget* parent)
{
  auto* splitter = new QSplitter(orientation, parent);
  splitter->setObjectName(name);
  splitter->setHandleWidth(kSplitterWidth);
  splitter->setChildrenCollapsible(false);
  return splitter;
}

}  // namespace

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
  scenario_ = std::make_unique<scenario::TScenarioState>();
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
  CreateViewMenu();
  CreatePopups();
  CreateStatusBar();
  ConnectMapEvents();
  dkProblems = new TdkProblems(this);
  addDockWidget(Qt::BottomDockWidgetArea, dkProblems);
  dkProblems->hide();
  CreateSessionMenus();

  CurrentCase = 1;
  Measuring = false;

  // The side windows, created after the main window and kept until the program ends.
  frmShowFile = new TfrmShowFile(this);
  dlgComputeEndurance = new TdlgComputeEndurance(*dialogs_, this);
  dlgAbout = new TdlgAbout(this);

  files_ = std::make_unique<platform::LocalFileSystem>();
  ConnectCaseEditing();
  RestoreLayout();
}

TfrmEditMain::~TfrmEditMain()
{
  // The scenario is released while the map that holds its objects still exists.
  scenario_.reset();
  // The map window outlives the view by a moment: stop it forwarding events first.
  Globe->SetEventSink(nullptr);
  globeMap_->SetHost(nullptr);
}

std::unique_ptr<globe::TVoduz4> TfrmEditMain::NewGlobeMap()
{
  auto map = std::make_unique<globe::TVoduz4>();
  scenario::ApplyGlobeStartSettings(*map);
  // Labels that would print over each other are left out, the most useful kept.
  map->SetTitlePriority(scenario::ScenarioTitlePriority);
  return map;
}

void TfrmEditMain::CreateToolbar(QWidget* parent)
{
  pnToolbar = new QWidget(parent);
  pnToolbar->setObjectName("pnToolbar");
  pnToolbar->setFixedHeight(35);

  sbLoad = GlyphButton(pnToolbar, "sbLoad", LoadGlyph(), 10, 5);
  sbLoad->setAutoRaise(true);
  SetHint(sbLoad, "Load scenario|Open a scenario or campaign directory");
  ZoomInBtn = GlyphButton(pnToolbar, "ZoomInBtn", ZoomInGlyph(), 73, 5);
  SetHint(ZoomInBtn, "Zoom in|Zoom in map display");
  ZoomOutBtn = GlyphButton(pnToolbar, "ZoomOutBtn", ZoomOutGlyph(), 97, 5);
  SetHint(ZoomOutBtn, "Zoom out|Zoom out map display");

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

  lvForces = new QTreeWidget(pnLeft);
  lvForces->setObjectName("lvForces");
  lvForces->setRootIsDecorated(false);
  lvForces->setSelectionMode(QAbstractItemView::SingleSelection);
  lvForces->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvForces->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvForces->setHeaderLabels({"Name", "Speed", "Mission"});
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
  lbPoints = new QListWidget(tcCases);
  lbPoints->setObjectName("lbPoints");
  lbPoints->setSelectionMode(QAbstractItemView::SingleSelection);
  lbPoints->setUniformItemSizes(true);
  lbPoints->setStyleSheet("QListWidget::item { height: 13px; }");
  tabColumn->addWidget(lbPoints, 1);
  lowerColumn->addWidget(tcCases, 1);
  pnLeft->addWidget(lower);

  pnLeft->setStretchFactor(0, 0);
  pnLeft->setStretchFactor(1, 1);
  pnLeft->setSizes({kForcesListHeight, 400});
}

void TfrmEditMain::CreateMenus()
{
  File1 = menuBar()->addMenu("&File");
  File1->setObjectName("File1");
  Openscenario1 = File1->addAction("&Open scenario");
  Openscenario1->setObjectName("Openscenario1");
  Openscenario1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  File1->addSeparator();
  Viewshipfile1 = File1->addAction("&View ship file");
  Viewshipfile1->setObjectName("Viewshipfile1");
  Viewshipfile1->setEnabled(false);
  Save1 = File1->addAction("&Save ship file");
  Save1->setObjectName("Save1");
  Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  Save1->setEnabled(false);
  File1->addSeparator();
  Exit1 = File1->addAction("E&xit");
  Exit1->setObjectName("Exit1");

  CreateEditMenu();
  menuBar()->addMenu(Edit2);

  Map1 = menuBar()->addMenu("Map");
  Map1->setObjectName("Map1");
  Map1->menuAction()->setVisible(false);
  Saveenvironment1 = Map1->addAction("Save environment");
  Saveenvironment1->setObjectName("Saveenvironment1");

  About2 = menuBar()->addMenu("&About VRK editor");
  About2->setObjectName("About2");
  About1 = About2->addAction("&About");
  About1->setObjectName("About1");

  connect(sbLoad, &QToolButton::clicked, this, [this] { sbLoadClick(); });
  connect(ZoomInBtn, &QToolButton::clicked, this, [this] { ZoomInBtnClick(); });
  connect(ZoomOutBtn, &QToolButton::clicked, this, [this] { ZoomOutBtnClick(); });
  connect(Openscenario1, &QAction::triggered, this, [this] { Openscenario1Click(); });
  connect(Viewshipfile1, &QAction::triggered, this, [this] { Viewshipfile1Click(); });
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  connect(Saveenvironment1, &QAction::triggered, this, [this] { Saveenvironment1Click(); });
  connect(About1, &QAction::triggered, this, [this] { About1Click(); });
}

void TfrmEditMain::CreatePopups()
{
  puForces = new QMenu(this);
  puForces->setObjectName("puForces");
  Editforce1 = puForces->addAction("&Edit force");
  Editforce1->setObjectName("Editforce1");
  lvForces->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lvForces, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { puForces->popup(lvForces->viewport()->mapToGlobal(at)); });

  puCaseList = new QMenu(this);
  puCaseList->setObjectName("puCaseList");
  Addcase1 = puCaseList->addAction("Add case");
  Addcase1->setObjectName("Addcase1");
  Addcase1->setVisible(false);
  AddcaseSeparator = puCaseList->addSeparator();
  AddcaseSeparator->setVisible(false);
  Pickpoint1 = puCaseList->addAction("Pick point");
  Pickpoint1->setObjectName("Pickpoint1");
  Edit1 = puCaseList->addAction("Edit");
  Edit1->setObjectName("Edit1");
  puCaseList->addSeparator();
  Delete1 = puCaseList->addAction("Delete");
  Delete1->setObjectName("Delete1");
  puCaseList->addSeparator();
  Insert1 = puCaseList->addAction("Insert");
  Insert1->setObjectName("Insert1");
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
    FormShow();
  }
  if (showScenarioPending_) QTimer::singleShot(0, this, [this] { if (showScenarioPending_) ShowScenarioIfAway(); });
}

void TfrmEditMain::FormShow()
{
  OneHour = 1.0 / 24.0;
  // The splash opens once the main window is on the screen, so that it shows above it; the
  // directory of the command line is opened when the splash has closed.
  QTimer::singleShot(0, this, [this] {
    if (splashOnShow_) dlgAbout->ShowAsSplash();
    if (!startDirectory_.empty()) OpenDirectory(std::exchange(startDirectory_, {}));
  });
}

bool TfrmEditMain::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == stTime && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    stTimeMouseDown(mouse->button(), mouse->modifiers());
    return true;
  }
  if (watched == lbPoints && event->type() == QEvent::KeyPress &&
      CaseListKey(static_cast<QKeyEvent*>(event)->key()))
    return true;
  return QMainWindow::eventFilter(watched, event);
}

void TfrmEditMain::Openscenario1Click() { sbLoad->click(); }

void TfrmEditMain::ZoomInBtnClick()
{
  globe::TGlobeProjection& projection = GlobeMap().Projection();
  projection.SetAltitude(ZoomedInAltitude(projection.Altitude()));
}

void TfrmEditMain::ZoomOutBtnClick()
{
  globe::TGlobeProjection& projection = GlobeMap().Projection();
  if (const auto altitude = ZoomedOutAltitude(projection.Altitude())) projection.SetAltitude(*altitude);
}

void TfrmEditMain::sbLoadClick()
{
  const std::string dir = dialogs_->ChooseDirectory(DialogStartFolder());
  if (dir.empty()) return;
  RememberDialogFolder(dir);
  OpenDirectory(dir);
}

void TfrmEditMain::FillForcesList()
{
  lvForces->clear();
  const auto& rows = scenario_->ForcesList.Rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    auto* item = new QTreeWidgetItem(lvForces, {QString::fromStdString(rows[i].Name),
                                                QString::fromStdString(rows[i].Speed),
                                                QString::fromStdString(rows[i].Mission)});
    item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));  // the row, which carries its force
    item->setToolTip(0, item->text(0));
    if (static_cast<int>(i) == scenario_->ForcesList.Selected) item->setSelected(true);
  }
  // The names fit unless the user has made the column wider.
  int nameWidth = 0;
  for (int i = 0; i < lvForces->topLevelItemCount(); ++i)
    nameWidth = std::max(nameWidth, lvForces->fontMetrics().horizontalAdvance(lvForces->topLevelItem(i)->text(0)) + 16);
  if (lvForces->columnWidth(0) < nameWidth) lvForces->setColumnWidth(0, nameWidth);
}

void TfrmEditMain::Viewshipfile1Click()
{
  if (CurrentForce == nullptr || CurrentForce->Side < 0 || CurrentForce->Side > 1) return;
  const int side = CurrentForce->Side;
  frmShowFile->ShowLines(side, scenario_->SideLines[static_cast<std::size_t>(side)]);
  frmShowFile->exec();
}

void TfrmEditMain::Exit1Click() { close(); }

void TfrmEditMain::About1Click() { dlgAbout->ShowAbout(); }

void TfrmEditMain::Saveenvironment1Click()
{
  if (globeView_ == nullptr) return;  // no map to save yet
  platform::SaveFileOptions options;
  options.defaultExtension = "env";
  options.initialFileName = "*.env";
  options.filter = "Environment files (*.ENV)|*.env";
  const std::string fileName = dialogs_->ChooseSaveFile(options);
  if (fileName.empty()) return;
  if (Files().FileExistsAsNamed(fileName) &&
      dialogs_->Confirm("Replace the existing file " + fileName + "?", platform::DialogButtons::YesNo) !=
          platform::DialogAnswer::Yes)
    return;
  try {
    globeView_->SaveEnvironmentFile(fileName);
  } catch (const std::exception& error) {
    dialogs_->ShowError(error.what());
  }
}

void TfrmEditMain::ShowTimeLabel(const QString& text)
{
  stTime->setText(text);
  // The box keeps its 161 pixels unless the label (date, time and start hour) needs more.
  const QMargins margins = stTime->contentsMargins();
  const int needed = stTime->fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() + 6;
  stTime->resize(std::max(161, needed), stTime->height());
}

void TfrmEditMain::stTimeMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
  if (button == Qt::RightButton && (modifiers & Qt::AltModifier)) Endurance1Click();
}

void TfrmEditMain::Endurance1Click() { dlgComputeEndurance->exec(); }

}  // namespace editor
