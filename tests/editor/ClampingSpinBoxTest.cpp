// The side windows' spin boxes take any typed text: not a number reads as the lower limit (0 for
// the range box, which has none), a value outside the limits is clamped when the box loses focus.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>

#include "editor/ComputeEndurance.h"
#include "editor/ForceInfo.h"
#include "platform/testing/ScriptedDialogs.h"

namespace editor {
namespace {

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

struct Typed {
  const char* text;
  int value;
};

TEST(ClampingSpinBox, EditForceSpeedIsClampedToZeroToThirtyTwo) {
  TdlgForceInfo dialog;
  dialog.show();
  const Typed cases[] = {{"12", 12}, {"40", 32}, {"99999999999", 32}, {"-3", 0}, {"fast", 0}, {"", 0}, {" 7 ", 7}};
  for (const Typed& c : cases) {
    dialog.SetSpeed(20);
    EXPECT_EQ(TypedAndLeft(*dialog.seSpeed, c.text), c.value) << c.text;
  }
  // Text still being typed when OK is pressed counts the same.
  dialog.seSpeed->findChild<QLineEdit*>()->setText("33");
  EXPECT_EQ(dialog.Speed(), 32);
}

TEST(ClampingSpinBox, EnduranceBoxesReadTheirLowerLimitForAText) {
  platform::testing::ScriptedDialogs dialogs;
  TdlgComputeEndurance dialog(dialogs);
  dialog.show();
  const Typed speeds[] = {{"knots", 5}, {"2", 5}, {"40", 35}, {"20", 20}};
  for (const Typed& c : speeds) EXPECT_EQ(TypedAndLeft(*dialog.seSpeed, c.text), c.value) << c.text;
  const Typed ranges[] = {{"miles", 0}, {"", 0}, {"-250", -250}, {"4500", 4500}};
  for (const Typed& c : ranges) EXPECT_EQ(TypedAndLeft(*dialog.seRange, c.text), c.value) << c.text;
}

}  // namespace
}  // namespace editor
