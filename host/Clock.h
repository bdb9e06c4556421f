// The process's one clock: the local time now, read through the system seam. Every date the
// system writes or fills in (log entries, dated file names, a missing year) comes from here.
#pragma once

#include "common/TDateTime.h"

// The local time now, from the system services.
TDateTime Now();
// The current year of Now().
int CurrentYear();
