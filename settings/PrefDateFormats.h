// The process-wide date and time formats the general preferences set at the end of a load.
#pragma once

#include <string>

#include "settings/PrefRecords.h"

// The current formats with today's date and the time now in them, for the "PrefDT:" entry.
std::string DateTimeSettingsText();

// Applies GEN_DATE_FORMAT, GEN_DATE_SEPARATOR and GEN_TIMEAMPM of general to the process
// formats, fills the four date forms of target from GEN_DATE_FORMAT, and logs "PrefDT:" with the
// settings before and after.
void SetDateTimeFormats(const TGeneralPref& general, TGeneralPref& target);
