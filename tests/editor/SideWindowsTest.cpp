// The About box as splash and as About command, the ship file viewer and the force info dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "editor/AboutEdit.h"
#include "editor/ForceInfo.h"
#include "editor/TestForm.h"

namespace editor {
namespace {

// Runs action once the modal loop of the next dialog is running.
void WhenModal(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

TEST(AboutBox, SplashClosesOnAKeyAndStopsItsTimer) {
  TdlgAbout about;
  bool timerRanWhileShown = false;
  WhenModal([&] {
    timerRanWhileShown = about.Timer1->isActive() && about.isVisible();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&about, &press);
  });
  about.ShowAsSplash();
  EXPECT_TRUE(timerRanWhileShown);
  EXPECT_FALSE(about.isVisible());
  EXPECT_FALSE(about.Timer1->isActive());
}

TEST(AboutBox, AboutCommandRunsNoTimerAndClosesOnAPanelClick) {
  TdlgAbout about;
  bool timerRan = true;
  WhenModal([&] {
    timerRan = about.Timer1->isActive();
    const QPointF at(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, at, about.Panel1->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, about.Panel1->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(about.Panel1, &press);
    QApplication::sendEvent(about.Panel1, &release);
  });
  about.ShowAbout();
  EXPECT_FALSE(timerRan);
  EXPECT_FALSE(about.isVisible());
}

TEST(AboutBox, ShowsTheTitleAndItsTimerClosesItAndStopsItself) {
  TdlgAbout about;
  const auto labels = about.findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
    return label->text() == "CORVALIS SCENARIO EDITOR" && label->font().bold() &&
           label->font().pixelSize() == 29 && label->pos() == QPoint(32, 16);
  }));
  EXPECT_EQ(about.Timer1->interval(), 3000);
  EXPECT_FALSE(about.Timer1->isActive());
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  WhenModal([&] { about.Timer1Timer(); });
  about.ShowAsSplash();
  EXPECT_FALSE(about.isVisible());
  EXPECT_FALSE(about.Timer1->isActive());
}

TEST(ShipFileViewer, ShowsACopyOfTheSideLines) {
  TfrmShowFile viewer;
  viewer.ShowLines(1, {"[MISSION1]", "NAME=Force Z", "", "SPEED=18"});
  EXPECT_EQ(viewer.windowTitle(), "Shipfile side 1");
  ASSERT_EQ(viewer.ListBox1->count(), 4);
  EXPECT_EQ(viewer.ListBox1->item(1)->text(), "NAME=Force Z");
  EXPECT_EQ(viewer.ListBox1->item(2)->text(), "");
  // A second showing replaces the list instead of adding to it.
  viewer.ShowLines(0, {"NAME=Axis 1"});
  EXPECT_EQ(viewer.windowTitle(), "Shipfile side 0");
  ASSERT_EQ(viewer.ListBox1->count(), 1);
  EXPECT_EQ(viewer.Button1->text(), "Close");
}

TEST(ShipFileViewer, CloseAndEscEndTheModalView) {
  TfrmShowFile viewer;
  WhenModal([&] { viewer.Button1->click(); });
  viewer.exec();
  EXPECT_FALSE(viewer.isVisible());
  WhenModal([&] {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&viewer, &esc);
  });
  EXPECT_EQ(viewer.exec(), QDialog::Rejected);
}

// Its speed limit of 32 knots: ClampingSpinBoxTest and the window's Edit force test.
TEST(ForceInfoDialog, OverviewIsReadOnlyAndButtonsGiveTheResult) {
  TdlgForceInfo dialog;
  EXPECT_EQ(dialog.windowTitle(), "Edit force info");
  dialog.AddOverviewLine("NAME=Force H");
  dialog.AddOverviewLine("SPEED=24");
  EXPECT_EQ(dialog.Memo1->toPlainText(), "NAME=Force H\nSPEED=24");
  EXPECT_TRUE(dialog.Memo1->isReadOnly());
  EXPECT_EQ(dialog.Memo1->focusPolicy(), Qt::NoFocus);
  dialog.ClearOverview();
  EXPECT_TRUE(dialog.Memo1->toPlainText().isEmpty());

  WhenModal([&] { dialog.OKBtn->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  WhenModal([&] { dialog.CancelBtn->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

}  // namespace
}  // namespace editor
