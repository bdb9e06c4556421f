// Date-time arithmetic and text.
#pragma once

#include <string>

#include "common/TDateTime.h"

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);
// The date-time in the system's general date-time format (short date, then long time).
std::string DateTimeToStr(TDateTime value);
