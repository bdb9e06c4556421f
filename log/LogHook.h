// The procedure variable through which units below the event log write events. Unset until the
// event log starts, which points it at LogEvent; stopping the log unsets it.
#pragma once

#include <string>

using TLogHookProc = void (*)(const std::string& name, const std::string& text);

extern TLogHookProc LogHook;

// Calls LogHook with the two texts when it is set; any failure inside is swallowed. Before the
// event log starts the call does nothing.
void CallLogHook(const std::string& Name, const std::string& Text);
