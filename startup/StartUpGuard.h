// The start-up guard every program of the product runs before any window or console output,
// right after the exception manager is created: it refuses a copy started from the server's
// distribution folder (LastVer), honours the maintenance stop, marks a running server program
// with its run mutex and hands over to the client upgrade check.
//
// Start and stop step of the program units: RunStartUpGuard / ReleaseStartUpGuard. "End the
// process" is an EProgramHalt (exit code 0) thrown to the program entry.
#pragma once

#include <string>

#include "common/TDateTime.h"

// The whole sequence; runs once (a second call before ReleaseStartUpGuard does nothing).
// Returns when start-up may go on; throws EProgramHalt when the process is to end.
void RunStartUpGuard();
// Closes the server run mutex and forgets its name; the next RunStartUpGuard runs again.
void ReleaseStartUpGuard();

// Shows the LastVer message and throws EProgramHalt when the program runs from LastVerFolder
// (compared without one trailing separator, surrounding blanks and letter case).
void CheckNotRunFromLastVer();

// "UniqueServiceName" of section "Pref" in the program's own settings file (the program path
// with the extension ".ini"); empty when the file, the key or the reading fails.
std::string ReadUniqueServiceName();
// The server run mutex name for a start at the given local time: program name without
// extension, unique service name and the time as "ddmmyyhhmmss", without separators.
std::string ServerRunMutexName(TDateTime startTime);
// The name of the mutex this run holds; empty when it holds none.
std::string HeldServerRunMutexName();
