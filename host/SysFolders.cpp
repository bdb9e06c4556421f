#include "host/SysFolders.h"

#include <memory>
#include <optional>

#include "common/DefaultsRec.h"
#include "common/FileUtils.h"
#include "common/IniFile.h"
#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {

struct TFolderState {
  bool loaded = false;
  FullDefaultsRecType defaults;
  std::optional<std::string> moduleFileName;
  std::optional<bool> library;
  std::optional<bool> remote;
  std::optional<std::string> temp, logs, templates;
};

// Created on first use; freed by FreeSystemFolders (the folder unit's stop step).
constinit std::unique_ptr<TFolderState> folderState;

TFolderState& State() {
  if (!folderState) folderState = std::make_unique<TFolderState>();
  return *folderState;
}

TFolderState& Loaded() {
  TFolderState& s = State();
  if (!s.loaded) LoadSystemFolderDefaults();
  return s;
}

// The parent of the database folder, without a trailing PathDelim.
std::string InstallationRoot() {
  return ParentFolder(Loaded().defaults.Database.DatabaseFolder);
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
  s.defaults = ConstFullDefaults();
  GeneralDefaultsRecType& general = s.defaults.General;
  general.InstallFolder = AddTrailingPathDelim(ExtractFilePath(ProgramFullPath()));
  general.LogFolder = general.InstallFolder + "LOG" + PathDelim;
  const std::string ini = general.InstallFolder + ProgramIniFileName;
  const std::string defaultDb = AddTrailingPathDelim(ParentFolder(ProgramModuleFolder())) + "DB";
  s.defaults.Database.DatabaseFolder = ReadIniString(ini, "DATABASE", "Path", defaultDb);
}

void FreeSystemFolders() {
  folderState.reset();
}

const FullDefaultsRecType& FullDefaults() {
  return Loaded().defaults;
}

std::string DatabaseFolder() {
  return Loaded().defaults.Database.DatabaseFolder;
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
  TFolderState& s = State();
  if (!s.library) {
    const std::string ext = UpperCase(ExtractFileExt(ModuleFileName()));
    s.library = ext == ".DLL" || ext == ".SO";
  }
  return *s.library;
}

std::string ProgramModuleFolder() {
  return ExtractFilePath(ModuleFileName());
}
std::string ProgramFullPath() {
  return Platform().System().ProgramPath();
}
std::string StartedProgramFullPath() {
  return Platform().System().StartedProgramPath();
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
  return FileExists(ProgramModuleFolder() + ProgramIniFileName);
}

bool IsRemoteServerMode() {
  TFolderState& s = Loaded();
  if (!s.remote) s.remote = FileExists(DBSysFolder() + RemoteServerMarkerFile);
  return *s.remote;
}
