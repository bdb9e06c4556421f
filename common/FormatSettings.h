// The process-wide format settings: date and time patterns (Delphi pattern language, see
// DateUtils.h), separators and AM/PM strings. Every date, time and number the system formats
// or parses uses them. The regional formats unit fills them from the system at start
// (InitFormatSettings, host/FormatSetup.h).
#pragma once

#include <array>
#include <string>

#include "common/RegionalSettings.h"

// The ten regional values (patterns, separators, AM/PM strings) as the system seam gives them,
// and the names and century window the patterns and parsers need besides.
struct TFormatSettings : TSystemRegionalSettings {
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  // Sunday first.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  // Two-digit years are read within this many years before the current year and the rest of
  // the century after it.
  int TwoDigitYearCenturyWindow = 50;
};

// The regional values as the system had them at start, in this order; separators as
// one-character texts. The event log reports each beside its current value.
struct TRegionalSettingsRec {
  std::string LongDateFormat;
  std::string ShortDateFormat;
  std::string LongTimeFormat;
  std::string ShortTimeFormat;
  std::string DateSeparator;
  std::string TimeSeparator;
  std::string TimeAMString;
  std::string TimePMString;
  std::string ThousandSeparator;
  std::string DecimalSeparator;
};

// The one settings object of the process (built-in defaults until InitFormatSettings).
TFormatSettings& FormatSettings();

// Sets the settings from the system's regional values and saves them in the record (what
// InitFormatSettings in host/FormatSetup.h does with the system seam's values).
void SetFormatSettingsFrom(const TSystemRegionalSettings& system);
// Drops the settings and the saved record: the built-in defaults hold again on next use.
void FreeFormatSettings();

// The record saved by InitFormatSettings (empty texts before it ran).
const TRegionalSettingsRec& SavedRegionalSettings();
// The same ten values as the process settings hold them now.
TRegionalSettingsRec CurrentRegionalSettings();
