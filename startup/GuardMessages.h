// The stock message boxes of the start-up guard; their texts are string-table entries
// (sGuardLastVerRefusal, sGuardMaintenanceStop, sGuardMaintenanceConfirm).
#pragma once

#include <string>

// Shows a refusal of the guard in a message box with an OK button.
void ShowGuardMessage(const std::string& text);
