// The Pref rows of a demo installation: the system level "-2", the all-users level "-1" (the
// documents folder among them, so the programs offer it as the old path) and one user's rows.
#pragma once

#include "platform/AceDriver.h"
#include "tools/DemoInstall.h"

void FillDemoPrefs(TAceConnection& db, const TDemoInstallOptions& options);
