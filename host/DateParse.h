// Reading dates and times with the process format settings (common/FormatSettings.h). A date
// without a year takes the current one from the process clock (host/Clock.h).
#pragma once

#include <string>

#include "common/TDateTime.h"

// Parsers. A date is two or three numbers joined by the date separator, read in the order of
// the short date format (day-month-year, month-day-year or year-month-day; a missing year is
// the current one; a two-digit year falls in the century window). A time is hours, then
// optionally the time separator and minutes, the time separator and seconds, and the decimal
// separator and milliseconds, with "AM"/"PM" (or the AM/PM strings) before or after. Blanks
// around the parts are skipped. Invalid text raises EConvertError.
TDateTime StrToDate(const std::string& text);
TDateTime StrToTime(const std::string& text);
// A date, then optionally a time; a text with only a time is read as a time.
TDateTime StrToDateTime(const std::string& text);
bool TryStrToDate(const std::string& text, TDateTime& value);
bool TryStrToTime(const std::string& text, TDateTime& value);
bool TryStrToDateTime(const std::string& text, TDateTime& value);
