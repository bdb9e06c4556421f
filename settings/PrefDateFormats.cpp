#include "settings/PrefDateFormats.h"

#include <cmath>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/SysUtils.h"
#include "host/Clock.h"
#include "log/EventLog.h"

std::string DateTimeSettingsText() {
  const TFormatSettings& settings = FormatSettings();
  const TDateTime now = Now();
  return settings.ShortDateFormat + ":" +
         FormatDateTime(settings.ShortDateFormat, std::floor(now)) + "," +
         settings.ShortTimeFormat + ":" + FormatDateTime(settings.LongTimeFormat, now) +
         ",Gen:" + DateTimeToStr(now);
}

void SetDateTimeFormats(const TGeneralPref& general, TGeneralPref& target) {
  const std::string before = DateTimeSettingsText();
  TFormatSettings& settings = FormatSettings();
  settings.TimeAMString = "AM";
  settings.TimePMString = "PM";
  settings.ShortDateFormat = general.GEN_DATE_FORMAT;
  const char* timeFormat = general.GEN_TIMEAMPM ? " HH:MM AMPM" : " HH:MM";
  settings.ShortTimeFormat = timeFormat;
  settings.LongTimeFormat = timeFormat;
  if (!general.GEN_DATE_SEPARATOR.empty()) settings.DateSeparator = general.GEN_DATE_SEPARATOR[0];
  if (SameText(general.GEN_DATE_FORMAT, "dd/mm/yyyy")) {
    target.LongDateForm = "dddd d mmmm yyyy";
    target.LongDayMonthForm = "dddd d mmmm";
    target.ShortDayMonthForm = "ddd d mmm";
    target.ShortDayLongMonthForm = "ddd d mmmm";
  } else {
    target.LongDateForm = "dddd, mmmm d, yyyy";
    target.LongDayMonthForm = "dddd, mmmm d";
    target.ShortDayMonthForm = "ddd, mmm d";
    target.ShortDayLongMonthForm = "ddd, mmmm d";
  }
  settings.LongDateFormat = target.LongDateForm;
  LogEvent("PrefDT:", before + "\r\n" + DateTimeSettingsText());
}
