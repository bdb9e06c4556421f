// The stock message boxes of the start-up guard, all in one place.
#pragma once

#include <string>

inline constexpr const char* LastVerRefusalText =
    "Cannot run this program From this server folder (Lastver)";
inline constexpr const char* MaintenanceStopText =
    "Cannot open Varnel since maintenance is currently being performed. Try again in a few "
    "minutes.";
inline constexpr const char* MaintenanceConfirmText =
    "Note that a different user is operating this program. Do you still want to open it?";

// Shows a refusal of the guard in a message box with an OK button.
void ShowGuardMessage(const std::string& text);
