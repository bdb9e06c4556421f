// The instruction file the upgrade program reads: section "APP" of an INI file named after the
// run tag in the temporary folder.
#pragma once

#include <string>

struct TUpgradeInstructions {
  std::string ModuleFolder;  // "VRL"
  std::string ModuleName;    // "SELF": the module file name without folder
  std::string CommandLine;   // "PRM": the upgrade program's command line as text
  std::string Version;       // "VER": the module's file version text
  bool HasParams = false;    // "PRM_4_ACTIVATE" is written only for a program with parameters
  std::string FirstParam;    // "PRM_4_ACTIVATE"
  std::string FileList;      // "FILE_0", "FILE_1", ...: the entries in list order
  std::string ExtraLines;    // name=value lines separated by "\r\n", each name a key
};

// run tag + "CLIENT_FILE_PATH.VRL" in TempFolder.
std::string UpgradeInstructionFile(const std::string& runTag);

// Writes the keys in the order "VRL", "PLM", "HTS", "SELF", "PRM", "VER", "PRM_4_ACTIVATE",
// "FILE_n", then the extra lines (a line without "=" is skipped). False when the file could not
// be written; nothing is thrown.
bool WriteUpgradeInstructions(const std::string& file, const TUpgradeInstructions& instructions);
