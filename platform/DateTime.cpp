#include "platform/DateTime.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/ConvertError.h"

namespace platform {

namespace {

// Days from 1899-12-30 to 0001-01-01 and to 9999-12-31.
constexpr std::int64_t kFirstDay = -693593;
constexpr std::int64_t kLastDay = 2958465;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kEpochOffset = 693899;

// Day count since 1899-12-30 of a valid civil date (the year starts in March so that the
// leap day comes last).
std::int64_t DaysFromCivil(int year, int month, int day) {
    std::int64_t y = month <= 2 ? year - 1 : year;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yearOfEra = y - era * 400;
    std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - kEpochOffset;
}

void CivilFromDays(std::int64_t days, DateTimeParts& parts) {
    std::int64_t z = days + kEpochOffset;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t dayOfEra = z - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    parts.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    parts.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    parts.year = static_cast<int>(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));
    // 1899-12-30 was a Saturday.
    parts.dayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

double EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        throw EConvertError("Invalid argument to date encode: " + std::to_string(year) + "-" +
                            std::to_string(month) + "-" + std::to_string(day));
    }
    return static_cast<double>(DaysFromCivil(year, month, day));
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        throw EConvertError("Invalid argument to time encode: " + std::to_string(hour) + ":" +
                            std::to_string(minute) + ":" + std::to_string(second) + "." +
                            std::to_string(millisecond));
    }
    double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
    return ms / kMillisecondsPerDay;
}

double CombineDateTime(double date, double time) {
    return date < 0 ? date - time : date + time;
}

double DateOf(double dateTime) { return std::trunc(dateTime); }

DateTimeParts DecodeDateTime(double dateTime) {
    if (!std::isfinite(dateTime) || dateTime < kFirstDay - 1 || dateTime > kLastDay + 1) {
        throw EConvertError("Invalid date-time value: " + std::to_string(dateTime));
    }
    double whole = std::trunc(dateTime);
    std::int64_t days = static_cast<std::int64_t>(whole);
    std::int64_t ms = static_cast<std::int64_t>(
        std::nearbyint(std::fabs(dateTime - whole) * kMillisecondsPerDay));
    if (ms >= static_cast<std::int64_t>(kMillisecondsPerDay)) {
        ms -= static_cast<std::int64_t>(kMillisecondsPerDay);
        ++days;
    }
    if (days < kFirstDay || days > kLastDay) {
        throw EConvertError("Invalid date-time value: " + std::to_string(dateTime));
    }
    DateTimeParts parts;
    CivilFromDays(days, parts);
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.millisecond = static_cast<int>(ms % 1000);
    return parts;
}

}  // namespace platform
