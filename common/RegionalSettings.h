// The regional values the system seam reports and the process format settings start from.
#pragma once

#include <string>

// The regional values as the system has them, in the Delphi pattern language.
struct TSystemRegionalSettings {
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string ShortTimeFormat = "hh:nn";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
};
