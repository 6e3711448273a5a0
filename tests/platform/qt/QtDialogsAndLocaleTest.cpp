// Texts, file filters, the regional settings of a locale and the checked input box.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/DateTime.h"
#include "platform/DateTimeFormat.h"
#include "platform/qt/QtCheckedInputDialog.h"
#include "platform/qt/QtNewFolderDialog.h"
#include "platform/qt/QtRegionalSettings.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtUserDialogs.h"

namespace platform {
namespace {

TEST(QtText, UnchangedTextsKeepTheirBytes) {
    const std::string latin1 = "Br\xE9st";  // not valid UTF-8
    const std::string utf8 = "Br\xC3\xA9st";
    EXPECT_EQ(ToQString(latin1), QString::fromUtf8("Brést"));
    EXPECT_EQ(ToQString(utf8), QString::fromUtf8("Brést"));
    EXPECT_EQ(FromQString(ToQString(latin1), latin1), latin1);
    EXPECT_EQ(FromQString(ToQString(utf8), utf8), utf8);
    // A character beyond Latin-1 cannot go back as Latin-1 and is written as UTF-8.
    EXPECT_EQ(FromQString(QString::fromUtf8("\xE2\x82\xAC"), latin1), "\xE2\x82\xAC");
}

TEST(QtUserDialogs, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(NameFiltersFromFilter("Environment files (*.ENV)|*.env"),
              QStringList{"Environment files (*.ENV) (*.env)"});
    EXPECT_EQ(NameFiltersFromFilter("A|*.a;*.b|B|*.c"), (QStringList{"A (*.a *.b)", "B (*.c)"}));
    EXPECT_TRUE(NameFiltersFromFilter("").isEmpty());
}

// The folder dialog of Save scenario as takes a typed new name as well as an existing folder.
TEST(QtNewFolderDialog, TakesATypedNewFolderAndAnExistingOne) {
    const QDir start(QDir::temp().filePath(QString("corvalis_dialog_%1").arg(QCoreApplication::applicationPid())));
    ASSERT_TRUE(start.mkpath("Existing"));
    for (const QString name : {"New", "Existing"}) {
        QtNewFolderDialog dialog(nullptr, start.path());
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText(name);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << name.toStdString();
        EXPECT_EQ(dialog.Chosen(), start.filePath(name));
    }
    EXPECT_FALSE(start.exists("New"));  // the copy makes it
    QDir(start).removeRecursively();
}

TEST(QtRegionalSettings, GermanLocaleUsesDotsAndCommas) {
    RegionalSettings settings = RegionalSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(settings.decimalSeparator, ",");
    EXPECT_EQ(settings.longMonthNames[4], "Mai");
    EXPECT_EQ(settings.longDayNames[0], "Sonntag");
    // The default text is the short date, then the long time with the hour and minute.
    const std::string text = DateTimeToText(EncodeDate(1941, 5, 24) + EncodeTime(14, 0, 0, 0), settings);
    EXPECT_EQ(text.rfind("24.05.", 0), 0u) << text;
    EXPECT_NE(text.find("14:00"), std::string::npos) << text;
}

// The checked input box: OK with a refused text keeps it open with the text and the reason;
// an accepted or unchanged text closes it; the default's bytes survive an untouched box, a
// changed text is UTF-8.
TEST(QtCheckedInputDialog, RefusedTextStaysWithItsReasonUntilCorrectedAnUnchangedDefaultIsTaken) {
  const auto refuseX = [](const std::string& text) { return text.find('X') != std::string::npos ? "no X here" : ""; };
  const std::string latin1 = "Target=Br\xE9st X";  // refused by the check, not valid UTF-8
  QtCheckedInputDialog untouched(nullptr, "t", "p", latin1, refuseX);
  untouched.show();
  untouched.OkButton->click();
  EXPECT_EQ(untouched.result(), QDialog::Accepted);
  EXPECT_EQ(untouched.Text(), latin1);
  QtCheckedInputDialog box(nullptr, "Edit line", "Edit case line", "WP=1", refuseX);
  box.show();
  box.Edit->setText("WP=X");
  box.OkButton->click();
  EXPECT_TRUE(box.isVisible());
  EXPECT_EQ(box.Edit->text(), "WP=X");
  EXPECT_EQ(box.Reason->isHidden() ? QString() : box.Reason->text(), "no X here");
  box.Edit->setText("WP=2");
  box.OkButton->click();
  EXPECT_EQ(box.result(), QDialog::Accepted);
  EXPECT_EQ(box.Text(), "WP=2");
  // A changed text is given as UTF-8 whatever the default's bytes were; the caller stores it in
  // its file's encoding.
  QtCheckedInputDialog edited(nullptr, "t", "p", "Target=Br\xE9st", refuseX);
  edited.Edit->setText(QString::fromUtf8("Target=Br\xC3\xA9st 2"));
  EXPECT_EQ(edited.Text(), "Target=Br\xC3\xA9st 2");
}

}  // namespace
}  // namespace platform
