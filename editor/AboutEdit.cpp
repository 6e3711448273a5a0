#include "editor/AboutEdit.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace editor {

namespace {

constexpr int kCloseAfterMs = 3000;

QLabel* AddText(QWidget* parent, const QString& text, const QFont& font, int x, int y,
                int columnWidth = 0)
{
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  label->adjustSize();
  if (columnWidth > 0) {
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(x, y, columnWidth, label->height());
  } else {
    label->move(x, y);
  }
  // Clicks on the texts count as clicks on the panel.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

}  // namespace

TdlgAbout::TdlgAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
  setObjectName("dlgAbout");
  setWindowTitle("About VRK editor");
  setFixedSize(585, 278);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  Panel1->setGeometry(0, 0, 585, 278);
  Panel1->installEventFilter(this);

  QFont title("Arial");
  title.setBold(true);
  title.setPixelSize(29);
  AddText(Panel1, "CORVALIS SCENARIO EDITOR", title, 32, 16);

  QFont text("Sans Serif");
  text.setStyleHint(QFont::SansSerif);
  text.setPixelSize(13);
  AddText(Panel1, "Mission and route editor for the VRK naval wargame", text, 142, 56);

  constexpr int kColumnX = 194;
  constexpr int kColumnWidth = 180;
  AddText(Panel1, "Design and programming", text, kColumnX, 96, kColumnWidth);
  AddText(Panel1, "The Corvalis team", text, kColumnX, 115, kColumnWidth);
  AddText(Panel1, "Additional development:", text, kColumnX, 136, kColumnWidth);
  AddText(Panel1, "Globe map engine", text, kColumnX, 156, kColumnWidth);
  AddText(Panel1, "Scenario file readers", text, kColumnX, 172, kColumnWidth);
  AddText(Panel1, "Route and daylight display", text, kColumnX, 188, kColumnWidth);
  AddText(Panel1, "Beta testing:", text, kColumnX, 212, kColumnWidth);
  AddText(Panel1, "Scenario designers", text, kColumnX, 228, kColumnWidth);
  AddText(Panel1, "Campaign players", text, kColumnX, 244, kColumnWidth);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kCloseAfterMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TdlgAbout::ShowAsSplash()
{
  Timer1->start();
  exec();
}

void TdlgAbout::ShowAbout() { exec(); }

void TdlgAbout::Timer1Timer()
{
  close();
  Timer1->stop();
}

void TdlgAbout::Panel1Click() { close(); }

void TdlgAbout::keyPressEvent(QKeyEvent* event)
{
  event->accept();
  close();
}

bool TdlgAbout::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease) {
    Panel1Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TdlgAbout::showEvent(QShowEvent* event)
{
  // Centred on the screen the box appears on.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
  QDialog::showEvent(event);
}

void TdlgAbout::done(int result)
{
  // A splash closed early stops its timer, so that a later About box does not close by itself.
  Timer1->stop();
  QDialog::done(result);
}

}  // namespace editor
