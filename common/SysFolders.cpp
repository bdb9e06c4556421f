#include "common/SysFolders.h"

#include <ini.h>

#include <filesystem>
#include <optional>

#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {

struct TFolderState {
  bool loaded = false;
  std::string installFolder;
  std::string databaseFolder;
  std::optional<std::string> moduleFileName;
  std::optional<bool> remote;
  std::optional<std::string> temp, logs, templates;
};

TFolderState& State() {
  static TFolderState state;
  return state;
}

struct TIniLookup {
  std::string section, key, value;
  bool found = false;
};

int IniHandler(void* user, const char* section, const char* name, const char* value) {
  auto* lookup = static_cast<TIniLookup*>(user);
  if (!lookup->found && UpperCase(section) == lookup->section && UpperCase(name) == lookup->key) {
    lookup->value = value;
    lookup->found = true;
  }
  return 1;
}

TFolderState& Loaded() {
  TFolderState& s = State();
  if (!s.loaded) LoadSystemFolderDefaults();
  return s;
}

std::string InstallationRoot() {
  return ParentFolder(Loaded().databaseFolder);
}

std::string RootFolder(const char* name) {
  return InstallationRoot() + PathDelim + name + PathDelim;
}

std::string LazyFolder(std::optional<std::string>& cache, const char* name) {
  if (!cache) {
    cache = InstallationRoot() + PathDelim + AddTrailingPathDelim(name);
    ForceFolder(*cache);
  }
  return *cache;
}

}  // namespace

void LoadSystemFolderDefaults() {
  TFolderState& s = State();
  s = TFolderState{};
  s.loaded = true;
  s.installFolder = ExtractFilePath(ProgramFullPath());
  std::string defaultDb = AddTrailingPathDelim(ParentFolder(ProgramModuleFolder())) + "DB";
  TIniLookup lookup{"DATABASE", "PATH", {}, false};
  std::string ini = s.installFolder + ProgramIniFileName;
  if (std::filesystem::exists(ini)) ini_parse(ini.c_str(), IniHandler, &lookup);
  s.databaseFolder = lookup.found ? lookup.value : defaultDb;
}

std::string DatabaseFolder() {
  return Loaded().databaseFolder;
}
std::string DBSysFolder() {
  return RootFolder("DBSys");
}
std::string ServerFolder() {
  return RootFolder("Server");
}
std::string UtilsFolder() {
  return RootFolder("Utils");
}
std::string LastVerFolder() {
  return RootFolder("LastVer");
}
std::string UpgradeClientFolder() {
  return UtilsFolder() + "UpgradeClient" + PathDelim;
}
std::string DocsFolder() {
  return ParentFolder(InstallationRoot()) + PathDelim + "Docs" + PathDelim;
}
std::string TempFolder() {
  return LazyFolder(Loaded().temp, "TmpVarnel");
}
std::string LogsFolder() {
  return LazyFolder(Loaded().logs, "Logs");
}
std::string TemplatesFolder() {
  return LazyFolder(Loaded().templates, "Templates");
}

std::string ModuleFileName() {
  TFolderState& s = State();
  if (!s.moduleFileName) s.moduleFileName = Platform().System().ModuleFileName();
  return *s.moduleFileName;
}

bool IsLibraryModule() {
  std::string ext = UpperCase(ExtractFileExt(ModuleFileName()));
  return ext == ".DLL" || ext == ".SO";
}

std::string ProgramModuleFolder() {
  return ExtractFilePath(ModuleFileName());
}
std::string ProgramFullPath() {
  return Platform().System().ProgramPath();
}
std::string ProgramFileName() {
  return ExtractFileName(ProgramFullPath());
}

std::string ProgramBasedName(const std::string& prefix, const std::string& suffix) {
  std::string name = prefix;
  if (IsLibraryModule()) name += ChangeFileExt(ExtractFileName(ModuleFileName()), "") + "_";
  return name + ChangeFileExt(ProgramFileName(), "") + suffix;
}

bool ProgramIniExists() {
  return std::filesystem::exists(ProgramModuleFolder() + ProgramIniFileName);
}

bool IsRemoteServerMode() {
  TFolderState& s = Loaded();
  if (!s.remote) s.remote = std::filesystem::exists(DBSysFolder() + "VarnelServer.sr1");
  return *s.remote;
}
