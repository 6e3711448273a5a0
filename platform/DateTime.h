#pragma once

namespace platform {

// Date-times are doubles counting days since 1899-12-30 00:00; the fraction is the time of
// day. Before that day the value is negative and its fraction, taken without its sign, is
// still the time of day (-1.25 is 1899-12-29 06:00).

constexpr double kMillisecondsPerDay = 86400000.0;

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

bool IsLeapYear(int year);
// Days in a month of a year; 0 when the month is not 1..12.
int DaysInMonth(int year, int month);

// The date at 00:00; throws EConvertError for an impossible date (year outside 1..9999,
// month outside 1..12, day outside the month).
double EncodeDate(int year, int month, int day);
// The time of day as a fraction of a day; throws EConvertError unless hour is 0..23,
// minute and second 0..59 and millisecond 0..999.
double EncodeTime(int hour, int minute, int second, int millisecond);
// A whole-day date plus a time of day, honouring the convention for negative dates.
double CombineDateTime(double date, double time);
// The whole-day part of a date-time (its date at 00:00).
double DateOf(double dateTime);

// Splits a date-time into its parts; the time is rounded to the millisecond (a carry moves to
// the next day). Throws EConvertError for a value that is not finite or lies outside the
// years 1..9999.
DateTimeParts DecodeDateTime(double dateTime);

}  // namespace platform
