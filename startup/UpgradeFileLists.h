// Which files of a program the upgrade check compares with LastVerFolder, per program kind (see
// ProgramKinds.h), and the collection of those that are newer there. Names are the Linux names:
// no ".exe", ".so" for a library, except the engine client's own files, which keep the names the
// engine client check requires.
#pragma once

#include <string>
#include <vector>

enum class TUpgradeRule {
  Version,  // IsNewerByVersion
  Date,     // IsNewerByDate
  Folder,   // a sub-folder of LastVerFolder, listed when it holds files
};

struct TUpgradeEntry {
  std::string LocalName;   // in the program's folder
  std::string SourceName;  // in LastVerFolder (for a folder entry: the sub-folder)
  TUpgradeRule Rule = TUpgradeRule::Version;
};

struct TUpgradeSources {
  std::string ModuleFolder;          // the program's folder, ending with PathDelim
  std::string LastVerFolder;         // ending with PathDelim
  std::string ModuleFileName;        // without folder: the main file of a database library
  bool EnglishDictionaries = false;  // the desktop client's language is English
};

// Every entry of a kind, in comparison order: the main file, the kind's list, then for kinds 1
// to 10 the database engine group. Kind 0 has none.
std::vector<TUpgradeEntry> UpgradeEntries(int kind, const TUpgradeSources& sources);

// Compares every entry of the kind and adds each newer one to fileList (AddToFileList); a folder
// entry is added as the folder's full path. True when at least one entry was added.
bool CollectNewerFiles(int kind, std::string& fileList, const TUpgradeSources& sources);
