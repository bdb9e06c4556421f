#include "startup/ProgramKinds.h"

#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {

enum class TRole { Client, WebModule, Server, Utility, DatabaseLibrary };

struct TKnownProgram {
  const char* Name;
  TRole Role;
  int Kind;  // the upgrade check's kind; 0: no check
};

constexpr TKnownProgram KnownPrograms[] = {
    {"VarnelCRM", TRole::Client, 1},
    {"VarnelWebInterface", TRole::WebModule, 4},
    {"VarnelCRM.so", TRole::WebModule, 4},
    {"VarnelRMMServer", TRole::Server, 7},
    {"VarnelServer", TRole::Server, 6},
    {"VarnelUtils", TRole::Utility, 0},
    {"VarnelBackup", TRole::Utility, 3},
    {"VarnelCRMSyncOutlookForAll", TRole::Utility, 9},
    {"VarnelAutoCodeByXml", TRole::Utility, 10},
    {"ServerConfig", TRole::Utility, 5},
    {"VrlDbEng.so", TRole::DatabaseLibrary, 8},
    {"VrlDbQry.so", TRole::DatabaseLibrary, 8},
};

// The name as the table spells it on Linux: ".exe" dropped, ".dll" read as ".so".
std::string LinuxName(const std::string& fileName) {
  const std::string name = ExtractFileName(fileName);
  const std::string ext = UpperCase(ExtractFileExt(name));
  if (ext == ".EXE") return ChangeFileExt(name, "");
  if (ext == ".DLL") return ChangeFileExt(name, ".so");
  return name;
}

const TKnownProgram* Find(const std::string& fileName) {
  const std::string name = LinuxName(fileName);
  for (const TKnownProgram& known : KnownPrograms)
    if (SameText(name, known.Name)) return &known;
  return nullptr;
}

bool Is(const TProgramIdentity& program, const char* name) {
  return SameText(LinuxName(program.FileName), name);
}

bool HasRole(const std::string& fileName, TRole role) {
  const TKnownProgram* known = Find(fileName);
  return known && known->Role == role;
}

}  // namespace

TProgramIdentity CurrentProgram() {
  const std::vector<std::string> params = Platform().System().CommandLineParams();
  return {ProgramFileName(), params.empty() ? std::string() : params.front(), IsLibraryModule()};
}

bool IsWebModule(const std::string& fileName) {
  return HasRole(fileName, TRole::WebModule);
}

bool IsServerProgram(const TProgramIdentity& program) {
  return IsWebModule(program.FileName) || HasRole(program.FileName, TRole::Server);
}

bool IsUtilityProgram(const TProgramIdentity& program) {
  return HasRole(program.FileName, TRole::Utility);
}

bool IsInteractiveUtility(const TProgramIdentity& program) {
  return IsUtilityProgram(program) && !Is(program, "VarnelAutoCodeByXml") &&
         !Is(program, "VarnelCRMSyncOutlookForAll") &&
         !(Is(program, "VarnelBackup") && !program.FirstParam.empty());
}

bool IsOrdinaryClient(const TProgramIdentity& program) {
  return !IsServerProgram(program) && !IsUtilityProgram(program) && !program.Library;
}

bool MustHaltWhenRefused(const TProgramIdentity& program) {
  if (IsServerProgram(program)) return false;
  if (Is(program, "ServerConfig")) return false;
  if (Is(program, "VarnelAutoCodeByXml")) return true;
  if (Is(program, "VarnelCRMSyncOutlookForAll")) return false;
  if (Is(program, "VarnelBackup")) return false;
  return !program.Library;
}

int GetProgramKind(const std::string& moduleFileName) {
  const TKnownProgram* known = Find(moduleFileName);
  return known ? known->Kind : 0;
}

bool IsServerKind(int kind) {
  return kind == 4 || kind == 6 || kind == 7;
}
