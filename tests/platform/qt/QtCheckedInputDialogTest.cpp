// The checked input box: OK with a refused text keeps it open with the text and the reason;
// an accepted or unchanged text closes it; the default's bytes survive an untouched box.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/QtCheckedInputDialog.h"

namespace platform {
namespace {

std::string RefuseX(const std::string& text) { return text.find('X') != std::string::npos ? "no X here" : ""; }

TEST(QtCheckedInputDialog, RefusedTextStaysWithItsReasonUntilCorrected) {
  QtCheckedInputDialog box(nullptr, "Edit line", "Edit case line", "WP=1", RefuseX);
  box.show();
  box.Edit->setText("WP=X");
  box.OkButton->click();
  EXPECT_TRUE(box.isVisible());
  EXPECT_EQ(box.result(), 0);
  EXPECT_EQ(box.Edit->text(), "WP=X");
  EXPECT_FALSE(box.Reason->isHidden());
  EXPECT_EQ(box.Reason->text(), "no X here");

  box.Edit->setText("WP=2");
  box.OkButton->click();
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
  EXPECT_EQ(box.Text(), "WP=2");
}

TEST(QtCheckedInputDialog, UnchangedDefaultIsTakenUncheckedWithItsBytes) {
  const std::string latin1 = "Target=Br\xE9st X";  // refused by the check, not valid UTF-8
  QtCheckedInputDialog box(nullptr, "t", "p", latin1, RefuseX);
  box.show();
  box.OkButton->click();
  EXPECT_EQ(box.result(), QDialog::Accepted);
  EXPECT_EQ(box.Text(), latin1);
}

}  // namespace
}  // namespace platform
