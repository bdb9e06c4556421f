// Date-time arithmetic, text and parsing. Patterns follow the Delphi pattern language, read
// with the process format settings (FormatSettings.h):
//   d dd ddd dddd     day; short day name; long day name
//   ddddd dddddd      the short date format; the long date format
//   m mm mmm mmmm     month; short month name; long month name. "m" or "mm" right after an
//                     hour token (h, hh) means minutes instead
//   yy yyyy           two-digit year; four-digit year (y and yyy too)
//   h hh              hour, 24-hour clock unless an AM/PM token follows before the next hour
//   n nn  s ss        minutes; seconds
//   z zzz             milliseconds; milliseconds in three digits
//   am/pm a/p         "am"/"pm" or "a"/"p" in the letter case written; 12-hour clock
//   ampm              TimeAMString / TimePMString; 12-hour clock
//   c                 short date format, and when the time is not midnight " " + long time format
//   t tt              the short time format; the long time format
//   /  :              the current date separator; the current time separator
//   "..." '...'       literal text
// Pattern letters are read without regard to case ("HH:MM" is hours and minutes); any other
// character is copied as it is.
#pragma once

#include <string>

#include "common/TDateTime.h"

struct TDateTimeParts {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  int DayOfWeek = 1;  // 1 = Sunday ... 7 = Saturday
};

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);
// False when a part is out of range (month 13, 31 April, hour 24, ...).
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
TDateTimeParts DecodeDateTime(TDateTime value);
// A POSIX time (seconds and nanoseconds since 1970 UTC) as a local date-time; 0 when the
// system cannot convert it.
TDateTime UnixTimeToLocalDateTime(long long seconds, long nanoseconds);

std::string FormatDateTime(const std::string& format, TDateTime value);
// The general date-time text: FormatDateTime("c") (short date, " ", long time; the time is left
// out at exactly midnight).
std::string DateTimeToStr(TDateTime value);

// The order of day, month and year in a date pattern, decided by the first of the letters
// d, m, y (or the era letter e, which counts as a year) met; month-day-year when none occurs.
enum class TDateOrder { MDY, DMY, YMD };
TDateOrder GetDateOrder(const std::string& format);
