// The About box, the endurance calculator and the text shown for an error in the event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTimer>
#include <climits>
#include <functional>
#include <stdexcept>

#include "editor/AboutEdit.h"
#include "editor/ComputeEndurance.h"
#include "editor/EditorApplication.h"
#include "platform/testing/ScriptedDialogs.h"

namespace editor {
namespace {

using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

void WhenModal(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

TEST(AboutBox, SplashClosesOnAKeyOrItsTimerTheAboutCommandOnAPanelClick) {
  TdlgAbout about;
  bool timerRanWhileShown = false;
  WhenModal([&] {
    timerRanWhileShown = about.Timer1->isActive() && about.isVisible();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&about, &press);
  });
  about.ShowAsSplash();
  EXPECT_TRUE(timerRanWhileShown);
  EXPECT_FALSE(about.isVisible() || about.Timer1->isActive());
  // As the About command it runs no timer.
  bool timerRan = true;
  WhenModal([&] {
    timerRan = about.Timer1->isActive();
    about.Panel1Click();
  });
  about.ShowAbout();
  EXPECT_FALSE(timerRan || about.isVisible());
}

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

TEST(EnduranceFor, WorkedExamplesHalvesAndLimits) {
  const struct {
    int speed, range, hours;
  } cases[] = {
      {18, 3000, 133},    // 166.67 * 0.8 = 133.33
      {20, 100, 5},       // 5 * 1.0
      {101, 202, 2},      // beyond the table: 2 * 1.0
      {12, 150, 5},       // 12.5 * 0.37 = 4.625
      {35, 700, 110},     // 20 * 5.5
      {5, 25, 2},         // halves round to even: 25 / 5 * 0.3 = 1.5 -> 2
      {5, 75, 4},         // 75 / 5 * 0.3 = 4.5 -> 4
      {0, 3000, 0},       // no speed
      // The largest factor per knot is 0.3 (1 knot): INT_MAX * 0.3 = 644245094.1.
      {1, INT_MAX, 644245094},
      {1, INT_MIN, -644245094},
  };
  for (const auto& c : cases) EXPECT_EQ(EnduranceFor(c.speed, c.range), c.hours) << c.speed << " " << c.range;
}

TEST(ComputeEnduranceDialog, CalculatesFromTheBoxesReportsAZeroRangeAndClampsTypedTexts) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  dialog.seSpeed->setValue(99);  // held to the box's limit of 35
  dialog.seRange->setValue(700);
  dialog.bnCalculateClick();
  EXPECT_EQ(dialog.stResult->text(), "110 hours");
  EXPECT_TRUE(dialogs.Calls().empty());
  dialog.seRange->setValue(0);
  dialog.bnCalculateClick();
  ASSERT_EQ(dialogs.Texts(DialogKind::Message).size(), 1u);
  EXPECT_EQ(dialogs.Texts(DialogKind::Message)[0], "You must enter a range other than zero!");
  EXPECT_EQ(dialog.stResult->text(), "110 hours");
  dialog.show();
  // The spin boxes take any typed text: not a number reads as the lower limit (0 for the range
  // box, which has none), a value outside the limits is clamped when the box loses focus.
  for (const auto& [text, value] : {std::pair{"knots", 5}, {"2", 5}, {"40", 35}, {"99999999999", 35}, {" 7 ", 7}})
    EXPECT_EQ(TypedAndLeft(*dialog.seSpeed, text), value) << text;
  for (const auto& [text, value] : {std::pair{"miles", 0}, {"-250", -250}})
    EXPECT_EQ(TypedAndLeft(*dialog.seRange, text), value) << text;
}

TEST(UncaughtErrorText, ShowsTheErrorsOwnTextOrAGeneralOne) {
  EXPECT_EQ(UncaughtErrorText(std::make_exception_ptr(std::runtime_error("Cannot find base X!"))), "Cannot find base X!");
  for (const auto& error : {std::make_exception_ptr(std::runtime_error("")), std::make_exception_ptr(42), std::exception_ptr()})
    EXPECT_EQ(UncaughtErrorText(error), "An unexpected error occurred.");
}

}  // namespace
}  // namespace editor
