// The client upgrade check: the running program's files are compared with the current release
// in LastVerFolder; when anything is newer there, an instruction file is written for the
// upgrade program ("UpgradeClient" in UpgradeClientFolder), which is started hidden. A client
// then ends (EProgramHalt, exit code 0) so its files can be replaced; a server keeps running.
// This tool's own name is in no kind table: for it the check ends at once.
#pragma once

#include <string>
#include <vector>

#include "common/TDateTime.h"

// The process-wide flag "the upgrade program has been started"; the start-up guard clears it.
void ClearUpgradeStarted();
bool UpgradeStarted();

// Moves every "OldVer_*" file of the program's folder into TempFolder (replacing a file of the
// same name there), with its trace entries.
void MovePreviousVersionFiles();

// The date and time as DateOrderFormat(true) gives them, then the module file name without
// extension.
std::string UpgradeRunTag(TDateTime now);
// The upgrade program's three arguments: the start argument ("0" for server kinds and kind 8,
// otherwise the first parameter or "1"), the run tag, and the ini flag ("Y" for kind 1 with the
// program's ini file present).
std::vector<std::string> UpgradeProgramArgs(int kind, const std::vector<std::string>& params,
                                            const std::string& runTag);
// The arguments as one text, each in double quotes, separated by blanks (for the instruction
// file and the trace; the program is started with the arguments themselves).
std::string UpgradeCommandLine(const std::vector<std::string>& args);

// The whole check for the running module. False at once for kind 0; otherwise true when an
// upgrade was needed (or forced). fileList receives the file list, and once the upgrade program
// was started the run tag, a blank and the file list. Throws EProgramHalt when a client ends
// after starting the upgrade program.
bool CheckClientUpgrade(bool runAllowed, bool noRestart, bool force, std::string& fileList);
