// The endurance calculator: factor table, rounding and the dialog's check of the range.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <climits>

#include "editor/ComputeEndurance.h"
#include "platform/testing/ScriptedDialogs.h"

namespace editor {
namespace {

using platform::testing::DialogKind;
using platform::testing::ScriptedDialogs;

TEST(FuelFactor, TableEdgesAndOutsideValues) {
  EXPECT_DOUBLE_EQ(FuelFactor(1), 0.3);
  EXPECT_DOUBLE_EQ(FuelFactor(9), 0.3);
  EXPECT_DOUBLE_EQ(FuelFactor(10), 0.32);
  EXPECT_DOUBLE_EQ(FuelFactor(12), 0.37);
  EXPECT_DOUBLE_EQ(FuelFactor(18), 0.8);
  EXPECT_DOUBLE_EQ(FuelFactor(20), 1.0);
  EXPECT_DOUBLE_EQ(FuelFactor(22), 1.25);
  EXPECT_DOUBLE_EQ(FuelFactor(32), 4.8);
  EXPECT_DOUBLE_EQ(FuelFactor(33), 5.5);
  EXPECT_DOUBLE_EQ(FuelFactor(35), 5.5);
  EXPECT_DOUBLE_EQ(FuelFactor(100), 5.5);
  EXPECT_DOUBLE_EQ(FuelFactor(101), 1.0);
  EXPECT_DOUBLE_EQ(FuelFactor(0), 1.0);
  EXPECT_DOUBLE_EQ(FuelFactor(-3), 1.0);
}

TEST(FuelFactor, GrowsWithSpeedFromNineToThirtyThreeKnots) {
  for (int speed = 9; speed < 33; ++speed) EXPECT_LT(FuelFactor(speed), FuelFactor(speed + 1)) << speed;
}

TEST(EnduranceFor, WorkedExamples) {
  EXPECT_EQ(EnduranceFor(18, 3000), 133);  // 166.67 * 0.8 = 133.33
  EXPECT_EQ(EnduranceFor(20, 100), 5);     // 5 * 1.0
  EXPECT_EQ(EnduranceFor(12, 150), 5);     // 12.5 * 0.37 = 4.625
  EXPECT_EQ(EnduranceFor(35, 700), 110);   // 20 * 5.5
  EXPECT_EQ(EnduranceFor(18, -3000), -133);
}

TEST(EnduranceFor, HalvesRoundToEven) {
  // 5 knots, factor 0.3: 25 / 5 * 0.3 = 1.5 -> 2; 75 / 5 * 0.3 = 4.5 -> 4.
  EXPECT_EQ(EnduranceFor(5, 25), 2);
  EXPECT_EQ(EnduranceFor(5, 75), 4);
}

TEST(EnduranceFor, NoSpeedAndHugeRangesStayDefined) {
  EXPECT_EQ(EnduranceFor(0, 3000), 0);
  EXPECT_EQ(EnduranceFor(-5, 3000), 0);
  // The largest factor per knot is 0.3 (1 knot): INT_MAX * 0.3 = 644245094.1.
  EXPECT_EQ(EnduranceFor(1, INT_MAX), 644245094);
  EXPECT_EQ(EnduranceFor(1, INT_MIN), -644245094);
}

TEST(ComputeEnduranceDialog, LayoutAndInitialValues) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  EXPECT_EQ(dialog.windowTitle(), "Compute endurance");
  EXPECT_EQ(dialog.size(), QSize(317, 112));
  EXPECT_EQ(dialog.seRange->value(), 3000);
  EXPECT_EQ(dialog.seRange->singleStep(), 100);
  EXPECT_EQ(dialog.seSpeed->value(), 18);
  EXPECT_EQ(dialog.seSpeed->minimum(), 5);
  EXPECT_EQ(dialog.seSpeed->maximum(), 35);
  EXPECT_EQ(dialog.seSpeed->geometry(), QRect(96, 32, 49, 22));
  EXPECT_TRUE(dialog.stResult->text().isEmpty());
  EXPECT_TRUE(dialog.bnCalculate->isDefault());
  EXPECT_EQ(dialog.stResult->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST(ComputeEnduranceDialog, CalculatesFromTheBoxes) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
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
}

TEST(ComputeEnduranceDialog, ZeroRangeIsReportedAndKeepsTheResult) {
  ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  dialog.bnCalculateClick();
  dialog.seRange->setValue(0);
  dialog.bnCalculateClick();
  ASSERT_EQ(dialogs.Texts(DialogKind::Message).size(), 1u);
  EXPECT_EQ(dialogs.Texts(DialogKind::Message)[0], "You must enter a range other than zero!");
  EXPECT_EQ(dialog.stResult->text(), "133 hours");
}

}  // namespace
}  // namespace editor
