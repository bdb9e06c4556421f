#include "startup/UpgradeInstructions.h"

#include "common/IniFileWriter.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "startup/UpgradeFileRules.h"

std::string UpgradeInstructionFile(const std::string& runTag) {
  return TempFolder() + runTag + "CLIENT_FILE_PATH.VRL";
}

bool WriteUpgradeInstructions(const std::string& file, const TUpgradeInstructions& instructions) {
  try {
    TIniFileWriter ini(file);
    const char* app = "APP";
    ini.WriteString(app, "VRL", instructions.ModuleFolder);
    ini.WriteString(app, "PLM", "");
    ini.WriteString(app, "HTS", "");
    ini.WriteString(app, "SELF", instructions.ModuleName);
    ini.WriteString(app, "PRM", instructions.CommandLine);
    ini.WriteString(app, "VER", instructions.Version);
    if (instructions.HasParams) ini.WriteString(app, "PRM_4_ACTIVATE", instructions.FirstParam);
    std::string rest = Trim(instructions.FileList);
    for (int n = 0; !Trim(rest).empty(); ++n)
      ini.WriteString(app, "FILE_" + std::to_string(n), SplitOff(rest, FileListSeparator));
    std::string lines = instructions.ExtraLines;
    while (!lines.empty()) {
      std::string line = SplitOff(lines, "\r\n");
      const size_t equals = line.find('=');
      if (equals == std::string::npos || equals == 0) continue;
      ini.WriteString(app, line.substr(0, equals), line.substr(equals + 1));
    }
    return ini.UpdateFile();
  } catch (...) {
    return false;
  }
}
