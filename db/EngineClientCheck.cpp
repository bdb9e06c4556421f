#include "db/EngineClientCheck.h"

#include "common/FileUtils.h"
#include "common/Format.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "platform/AceDriver.h"
#include "platform/Platform.h"

bool CheckEngineClient(std::string& message) {
  return CheckEngineClientIn(ProgramModuleFolder(), message);
}

bool FindMissingEngineFiles(const std::string& folder, std::string& missing) {
  missing.clear();
  for (const char* file : EngineClientFiles)
    if (!FileExists(folder + file)) missing += std::string("\n\r") + file;
  return missing.empty();
}

bool CheckEngineClientIn(const std::string& folder, std::string& message) {
  const std::string program = ProgramFullPath();
  const std::string tail = "\r\n\r\n(" + program + ")";
  std::string missing;
  if (!FindMissingEngineFiles(folder, missing)) {
    // The texts are formatted before the program path is appended: a path may hold "%".
    message = Format(LoadStr(sMissingFilesStopped), {ChangeFileExt(ExtractFileName(program), ""),
                                                     ExtractFilePath(program), Trim(missing)}) +
              tail;
    return false;
  }
  const std::string version = EngineVersionText();
  if (version == RequiredEngineVersion) {
    message = version;
    return true;
  }
  message = Format(LoadStr(sEngineVersionMismatch), {RequiredEngineVersion, version}) + tail;
  return false;
}

std::string EngineVersionText() {
  const TAceVersion version = Platform().Engine().Version();
  const std::string minor = std::to_string(version.Minor);
  return std::to_string(version.Major) + (version.Minor < 10 ? ".0" : ".") + minor;
}
