#include "platform/qt/QtRegionalSettings.h"

#include "platform/LocalePattern.h"
#include "platform/qt/QtText.h"

namespace platform {

RegionalSettings RegionalSettingsFromLocale(const QLocale& locale) {
    RegionalSettings settings;
    std::string shortDate = FromQString(locale.dateFormat(QLocale::ShortFormat));
    std::string longDate = FromQString(locale.dateFormat(QLocale::LongFormat));
    std::string shortTime = FromQString(locale.timeFormat(QLocale::ShortFormat));
    std::string longTime = FromQString(locale.timeFormat(QLocale::LongFormat));
    settings.dateSeparator = FieldSeparatorOf(shortDate, settings.dateSeparator);
    settings.timeSeparator = FieldSeparatorOf(shortTime, settings.timeSeparator);
    settings.decimalSeparator = FromQString(locale.decimalPoint());
    settings.shortDateFormat = DateTimePatternFromLocale(shortDate);
    settings.longDateFormat = DateTimePatternFromLocale(longDate);
    settings.shortTimeFormat = DateTimePatternFromLocale(shortTime);
    settings.longTimeFormat = DateTimePatternFromLocale(longTime);
    settings.timeAMString = FromQString(locale.amText());
    settings.timePMString = FromQString(locale.pmText());
    for (int month = 1; month <= 12; ++month) {
        settings.shortMonthNames[month - 1] = FromQString(locale.monthName(month, QLocale::ShortFormat));
        settings.longMonthNames[month - 1] = FromQString(locale.monthName(month, QLocale::LongFormat));
    }
    // Qt counts days from Monday = 1 to Sunday = 7; the record starts with Sunday.
    for (int day = 1; day <= 7; ++day) {
        settings.shortDayNames[day % 7] = FromQString(locale.dayName(day, QLocale::ShortFormat));
        settings.longDayNames[day % 7] = FromQString(locale.dayName(day, QLocale::LongFormat));
    }
    return settings;
}

}  // namespace platform
