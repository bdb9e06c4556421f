// The state of one upgrade check as its trace entries show it: twenty numbered lines.
#pragma once

#include <string>

struct TUpgradeState {
  bool EndsAfterwards = false;  // 1
  std::string UpgradeProgram;   // 3
  std::string FileList;         // 6
  int Kind = 0;                 // 7
  std::string RunTag;           // 8
  bool Result = false;          // 9
  long OwnerWindow = 0;         // 10: there are no window handles here; always 0
  std::string CommandLine;      // 11
  int WaitMilliseconds = 2000;  // 12
  bool UpgradeNeeded = false;   // 13
  bool NotLibrary = false;      // 14
  bool RunAllowed = false;      // 15
  bool NoRestart = false;       // 16
  bool Force = false;           // 17
  std::string CallerText;       // 18
  std::string ExtraLines;       // 19
  int StartResult = 0;          // 20: 0 started, otherwise the system's error number
};

// "1. " ... "9. ", "10.", "11. " ... "20. ", each followed by its value and "\r\n"; items 2, 4
// and 5 are empty, items 17 and 18 are followed by two empty lines.
std::string UpgradeStateList(const TUpgradeState& state);

// Writes a trace entry through the log hook (nothing before the event log is started).
void TraceUpgrade(const std::string& name, const TUpgradeState& state);
