// The side windows: the About box as splash and as About command, the ship file viewer, the
// force info dialog, the endurance calculator (factor table, rounding, the check of the range),
// the spin boxes that take any typed text, and the text shown for an error that reached the
// event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <functional>
#include <stdexcept>

#include "editor/AboutEdit.h"
#include "editor/ComputeEndurance.h"
#include "editor/EditorApplication.h"
#include "editor/ForceInfo.h"
#include "editor/TestForm.h"
#include "platform/testing/ScriptedDialogs.h"

namespace editor {
namespace {

using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

// Runs action once the modal loop of the next dialog is running.
void WhenModal(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

// The title; the splash closes on a key or when its timer runs out, and stops the timer.
TEST(AboutBox, SplashClosesOnAKeyOrItsTimerTheAboutCommandOnAPanelClick) {
  TdlgAbout about;
  const auto labels = about.findChildren<QLabel*>();
  EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* l) { return l->text() == "CORVALIS SCENARIO EDITOR"; }));
  EXPECT_EQ(about.Timer1->interval(), 3000);
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  bool timerRanWhileShown = false;
  WhenModal([&] {
    timerRanWhileShown = about.Timer1->isActive() && about.isVisible();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&about, &press);
  });
  about.ShowAsSplash();
  EXPECT_TRUE(timerRanWhileShown);
  EXPECT_FALSE(about.isVisible() || about.Timer1->isActive());
  WhenModal([&] { about.Timer1Timer(); });
  about.ShowAsSplash();
  EXPECT_FALSE(about.isVisible() || about.Timer1->isActive());
  // As the About command it runs no timer and closes on a click on its panel.
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

// A second showing replaces the list instead of adding to it; Close and Esc end the view.
TEST(ShipFileViewer, ShowsACopyOfTheSideLinesUntilClosed) {
  TfrmShowFile viewer;
  viewer.ShowLines(1, {"[MISSION1]", "NAME=Force Z", "", "SPEED=18"});
  EXPECT_EQ(viewer.windowTitle(), "Shipfile side 1");
  ASSERT_EQ(viewer.ListBox1->count(), 4);
  EXPECT_EQ(viewer.ListBox1->item(1)->text(), "NAME=Force Z");
  EXPECT_EQ(viewer.ListBox1->item(2)->text(), "");
  viewer.ShowLines(0, {"NAME=Axis 1"});
  EXPECT_EQ(viewer.windowTitle(), "Shipfile side 0");
  ASSERT_EQ(viewer.ListBox1->count(), 1);
  EXPECT_EQ(viewer.Button1->text(), "Close");
  WhenModal([&] { viewer.Button1->click(); });
  viewer.exec();
  EXPECT_FALSE(viewer.isVisible());
  WhenModal([&] {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&viewer, &esc);
  });
  EXPECT_EQ(viewer.exec(), QDialog::Rejected);
}

// Types text into the box and moves the focus away.
int TypedAndLeft(TClampingSpinBox& box, const QString& text) {
  QLineEdit* edit = box.findChild<QLineEdit*>();
  EXPECT_NE(edit, nullptr);
  if (edit == nullptr) return -1;
  edit->setText(text);
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(&box, &leave);
  EXPECT_EQ(edit->text(), QString::number(box.value())) << text.toStdString();  // the box shows what it reads
  return box.value();
}


// The spin boxes take any typed text: not a number reads as the lower limit (0 for the range
// box, which has none), a value outside the limits is clamped when the box loses focus.
TEST(ForceInfoDialog, OverviewIsReadOnlyButtonsGiveTheResultSpeedIsClampedToZeroToThirtyTwo) {
  TdlgForceInfo dialog;
  EXPECT_EQ(dialog.windowTitle(), "Edit force info");
  dialog.AddOverviewLine("NAME=Force H");
  dialog.AddOverviewLine("SPEED=24");
  EXPECT_EQ(dialog.Memo1->toPlainText(), "NAME=Force H\nSPEED=24");
  EXPECT_TRUE(dialog.Memo1->isReadOnly());
  dialog.ClearOverview();
  EXPECT_TRUE(dialog.Memo1->toPlainText().isEmpty());
  WhenModal([&] { dialog.OKBtn->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  WhenModal([&] { dialog.CancelBtn->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  dialog.show();
  for (const auto& [text, value] : {std::pair{"12", 12}, {"40", 32}, {"99999999999", 32}, {"-3", 0}, {"fast", 0}, {"", 0},
                                   {" 7 ", 7}}) {
    dialog.SetSpeed(20);
    EXPECT_EQ(TypedAndLeft(*dialog.seSpeed, text), value) << text;
  }
  // Text still being typed when OK is pressed counts the same.
  dialog.seSpeed->findChild<QLineEdit*>()->setText("33");
  EXPECT_EQ(dialog.Speed(), 32);
}

TEST(FuelFactor, TableEdgesAndOutsideValues) {
  const struct {
    int speed;
    double factor;
  } cases[] = {{1, 0.3},  {9, 0.3},  {10, 0.32}, {12, 0.37}, {18, 0.8},  {20, 1.0},  {22, 1.25},
               {32, 4.8}, {33, 5.5}, {35, 5.5},  {100, 5.5}, {101, 1.0}, {0, 1.0},  {-3, 1.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(FuelFactor(c.speed), c.factor) << c.speed;
  for (int speed = 9; speed < 33; ++speed) EXPECT_LT(FuelFactor(speed), FuelFactor(speed + 1)) << speed;
}

TEST(EnduranceFor, WorkedExamplesHalvesAndLimits) {
  const struct {
    int speed, range, hours;
  } cases[] = {
      {18, 3000, 133},    // 166.67 * 0.8 = 133.33
      {20, 100, 5},       // 5 * 1.0
      {12, 150, 5},       // 12.5 * 0.37 = 4.625
      {35, 700, 110},     // 20 * 5.5
      {18, -3000, -133},
      {5, 25, 2},         // halves round to even: 25 / 5 * 0.3 = 1.5 -> 2
      {5, 75, 4},         // 75 / 5 * 0.3 = 4.5 -> 4
      {0, 3000, 0},       // no speed
      {-5, 3000, 0},
      // The largest factor per knot is 0.3 (1 knot): INT_MAX * 0.3 = 644245094.1.
      {1, INT_MAX, 644245094},
      {1, INT_MIN, -644245094},
  };
  for (const auto& c : cases) EXPECT_EQ(EnduranceFor(c.speed, c.range), c.hours) << c.speed << " " << c.range;
}

TEST(ComputeEnduranceDialog, CalculatesFromTheBoxesReportsAZeroRangeAndClampsTypedTexts) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  EXPECT_EQ(dialog.windowTitle(), "Compute endurance");
  EXPECT_TRUE(dialog.stResult->text().isEmpty());
  EXPECT_TRUE(dialog.bnCalculate->isDefault());
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "133 hours");
  dialog.seRange->setValue(150);
  dialog.seSpeed->setValue(12);
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "5 hours");
  dialog.seSpeed->setValue(99);  // held to the box's limit of 35
  dialog.seRange->setValue(700);
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "110 hours");
  EXPECT_TRUE(dialogs.Calls().empty());
  // A zero range is reported and the last result stays.
  dialog.seRange->setValue(0);
  dialog.bnCalculateClick();
  ASSERT_EQ(dialogs.Texts(DialogKind::Message).size(), 1u);
  EXPECT_EQ(dialogs.Texts(DialogKind::Message)[0], "You must enter a range other than zero!");
  EXPECT_EQ(dialog.stResult->text(), "110 hours");
  dialog.show();
  for (const auto& [text, value] : {std::pair{"knots", 5}, {"2", 5}, {"40", 35}, {"20", 20}})
    EXPECT_EQ(TypedAndLeft(*dialog.seSpeed, text), value) << text;
  for (const auto& [text, value] : {std::pair{"miles", 0}, {"", 0}, {"-250", -250}, {"4500", 4500}})
    EXPECT_EQ(TypedAndLeft(*dialog.seRange, text), value) << text;
}

TEST(UncaughtErrorText, ShowsTheErrorsOwnTextOrAGeneralOne) {
  EXPECT_EQ(UncaughtErrorText(std::make_exception_ptr(std::runtime_error("Cannot find base X!"))), "Cannot find base X!");
  for (const auto& error : {std::make_exception_ptr(std::runtime_error("")), std::make_exception_ptr(42), std::exception_ptr()})
    EXPECT_EQ(UncaughtErrorText(error), "An unexpected error occurred.");
}

}  // namespace
}  // namespace editor
