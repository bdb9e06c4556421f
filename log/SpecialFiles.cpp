#include "log/SpecialFiles.h"

#include <vector>

#include "common/Format.h"
#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"

namespace {

enum class TSpecialFolder { DBSys, Logs, Server };

struct TSpecialFile {
  std::string Name;
  TSpecialFolder Folder;
};

const std::vector<TSpecialFile>& SpecialFiles() {
  static const std::vector<TSpecialFile> table = {
      {"VrlDbEngLog.txt", TSpecialFolder::DBSys},
      {"VrlDbQryLog.txt", TSpecialFolder::DBSys},
      {UserLogFileName("VarnelSystem2"), TSpecialFolder::DBSys},
      {UserLogFileName("VarnelSystem3"), TSpecialFolder::DBSys},
      {UserLogFileName("VarnelSystem4"), TSpecialFolder::DBSys},
      {"VrlEnableSSL.ini", TSpecialFolder::DBSys},
      {"VrlEMailLogging.ini", TSpecialFolder::DBSys},
      {UserLogFileName("VrlSchedRepsDtl"), TSpecialFolder::Logs},
      {UserLogFileName("IncomingEMails"), TSpecialFolder::Logs},
      {UserLogFileName("OutgoingEMails"), TSpecialFolder::Logs},
      {"VrlNotDelQFiles.ini", TSpecialFolder::Server},
      {"VrlEmailConnectorLog.ini", TSpecialFolder::Server},
  };
  return table;
}

std::string FolderPath(TSpecialFolder folder) {
  switch (folder) {
    case TSpecialFolder::DBSys:
      return DBSysFolder();
    case TSpecialFolder::Logs:
      return LogsFolder();
    case TSpecialFolder::Server:
      return ServerFolder();
  }
  return {};
}

}  // namespace

std::string GetSpecialFilePath(const std::string& FileName) {
  const std::string wanted = UpperCase(FileName);
  for (const TSpecialFile& file : SpecialFiles())
    if (UpperCase(file.Name) == wanted)
      return AddTrailingPathDelim(FolderPath(file.Folder)) + FileName;
  return {};
}

std::string UserLogFileName(const std::string& LogName) {
  return Format("UserLog_%s.TXT", {LogName});
}

std::string FileBaseName(const std::string& Path) {
  return ChangeFileExt(ExtractFileName(Path), "");
}
