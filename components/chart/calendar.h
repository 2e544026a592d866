#pragma once
// Day numbers of the date/time axes: a double whose integer part counts days
// from 30 December 1899 (day 1 is 31 December 1899) and whose fraction is the
// time of day (0.5 is noon). Splitting and building them, and formatting them
// by a format text. Qt-free; the month names come from the caller.
#include <array>
#include <string>
#include <string_view>

// The abbreviated month names, January first.
using TMonthNames = std::array<std::string, 12>;

// The last day the calendar shows: 31 December 9999.
constexpr double kLastDayNumber = 2958465.0;

struct TDateTimeParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Splits a day number after rounding it to the nearest millisecond, so
// 0.12499999999 is 03:00:00.000. A negative day number counts days back from
// 30 December 1899 with its fraction as the time of that day.
TDateTimeParts DecodeDayNumber(double t);
// The day number of a date; years 1..9999.
double EncodeDate(int year, int month, int day);

// Formats a day number. Tokens: h, hh (hour; 12-hour clock when the format
// holds am/pm), nn (minute), ss (second), am/pm, dd (day), mm (month), mmm
// (month name), yy, yyyy (year); text between double or single quotes and
// every other character are copied.
std::string FormatDayNumber(std::string_view format, double t, const TMonthNames& names);
