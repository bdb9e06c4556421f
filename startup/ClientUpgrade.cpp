#include "startup/ClientUpgrade.h"

#include <cstring>
#include <filesystem>

#include "common/BuildLanguage.h"
#include "common/DateUtils.h"
#include "common/FileUtils.h"
#include "common/FileVersion.h"
#include "common/PathUtils.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "host/Clock.h"
#include "host/FileChecks.h"
#include "host/SysFolders.h"
#include "log/LogHook.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"
#include "startup/ProgramHalt.h"
#include "startup/ProgramKinds.h"
#include "startup/StartUpGuard.h"
#include "startup/UpgradeFileLists.h"
#include "startup/UpgradeInstructions.h"
#include "startup/UpgradeTrace.h"

namespace fs = std::filesystem;

namespace {

bool upgradeStarted = false;

constexpr int ServerUpgradeWait = 2000;

bool MoveReplacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return true;
  // Another file system: copy, then remove the original.
  ec.clear();
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  return !ec && fs::remove(from, ec) && !ec;
}

// The English dictionaries go with an English build.
bool EnglishDictionariesWanted() {
  return GetLangId() == kEnglishLangId;
}

std::string ExtraLines(int kind, bool noRestart) {
  if (IsServerProgram())
    return std::string("Restrat=") + (noRestart ? "N" : "Y") + "\r\n" + "SrvName" + "=" +
           ChangeFileExt(ProgramFileName(), "") + ReadUniqueServiceName() + "\r\n" + "MTX" + "=" +
           HeldServerRunMutexName();
  if (kind == 1) return "VrlProcB4Run_0=VrlVpnFile";
  return {};
}

// Starts the upgrade program and records the outcome; a failed start is logged with its reason.
void StartUpgradeProgram(const std::vector<std::string>& args, TUpgradeState& state) {
  state.StartResult = Platform().System().StartHiddenProgram(state.UpgradeProgram, args);
  if (state.StartResult != 0)
    CallLogHook("I_CheckIfNeedUpgradeVer-202-Err",
                "Cannot start " + state.UpgradeProgram + ": " + std::strerror(state.StartResult));
}

void RunUpgradeProgram(TUpgradeState& state, std::string& fileList) {
  const std::vector<std::string> params = Platform().System().CommandLineParams();
  const std::vector<std::string> args = UpgradeProgramArgs(state.Kind, params, state.RunTag);
  state.CommandLine = UpgradeCommandLine(args);
  TraceUpgrade("I_CheckIfNeedUpgradeVer-101-Bof", state);
  state.ExtraLines = ExtraLines(state.Kind, state.NoRestart);
  TUpgradeInstructions instructions;
  instructions.ModuleFolder = ProgramModuleFolder();
  instructions.ModuleName = ExtractFileName(ModuleFileName());
  instructions.CommandLine = state.CommandLine;
  instructions.Version = ReadFileVersion(ModuleFileName()).Text;
  instructions.HasParams = !params.empty();
  instructions.FirstParam = params.empty() ? std::string() : params.front();
  instructions.FileList = state.FileList;
  instructions.ExtraLines = state.ExtraLines;
  WriteUpgradeInstructions(UpgradeInstructionFile(state.RunTag), instructions);
  TraceUpgrade("I_CheckIfNeedUpgradeVer-101-Eof", state);
  fileList = state.RunTag + " " + state.FileList;
  state.CallerText = fileList;
  TraceUpgrade("I_CheckIfNeedUpgradeVer-202-Bof", state);
  StartUpgradeProgram(args, state);
  TraceUpgrade("I_CheckIfNeedUpgradeVer-202-Eof", state);
  if (IsServerKind(state.Kind) && !upgradeStarted) Platform().System().Sleep(ServerUpgradeWait);
  upgradeStarted = true;
}

}  // namespace

void ClearUpgradeStarted() {
  upgradeStarted = false;
}
bool UpgradeStarted() {
  return upgradeStarted;
}

void MovePreviousVersionFiles() {
  const std::string folder = ProgramModuleFolder();
  std::vector<std::string> found;
  // Our programs have no extension, so the mask is "OldVer_*" rather than "OldVer_*.*".
  ListFolderFiles(folder, "OldVer_*", false, found);
  CallLogHook("ChangePrevVerFiles-301-Bof", "");
  std::string names;
  for (const std::string& name : found) names += name + "\r\n";
  CallLogHook("ChangePrevVerFiles-301-xxx", folder + " " + names);
  std::string moved;
  for (const std::string& name : found)
    moved += BoolToYN(MoveReplacing(folder + name, TempFolder() + name)) + "\r\n";
  CallLogHook("ChangePrevVerFiles-301-Eof", moved);
}

std::string UpgradeRunTag(TDateTime now) {
  return FormatDateTime(DateOrderFormat(true), now) +
         ChangeFileExt(ExtractFileName(ModuleFileName()), "");
}

std::vector<std::string> UpgradeProgramArgs(int kind, const std::vector<std::string>& params,
                                            const std::string& runTag) {
  std::string start = "0";
  if (!IsServerKind(kind) && kind != 8) start = params.empty() ? "1" : params.front();
  const bool ini = kind == 1 && ProgramIniExists();
  return {start, runTag, ini ? "Y" : "N"};
}

std::string UpgradeCommandLine(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += (text.empty() ? "\"" : " \"") + arg + "\"";
  return text;
}

bool CheckClientUpgrade(bool runAllowed, bool noRestart, bool force, std::string& fileList) {
  TUpgradeState state;
  state.Kind = GetProgramKind(ModuleFileName());
  if (state.Kind == 0) return false;
  state.RunAllowed = runAllowed;
  state.NoRestart = noRestart;
  state.Force = force;
  state.WaitMilliseconds = ServerUpgradeWait;
  if (runAllowed && IsServerKind(state.Kind)) MovePreviousVersionFiles();
  state.NotLibrary = !IsLibraryModule();

  const TUpgradeSources sources{ProgramModuleFolder(), LastVerFolder(),
                                ExtractFileName(ModuleFileName()), EnglishDictionariesWanted()};
  CollectNewerFiles(state.Kind, state.FileList, sources);
  state.UpgradeNeeded = !state.FileList.empty() || force;
  if (!state.UpgradeNeeded) return false;
  state.Result = true;
  fileList = state.FileList;
  if (!runAllowed) return true;

  state.UpgradeProgram = UpgradeClientFolder() + "UpgradeClient";
  if (!CheckFileExists(state.UpgradeProgram, state.NotLibrary)) return true;
  state.RunTag = UpgradeRunTag(Now());
  // Server kinds and database libraries keep running; every other program ends for the upgrade.
  state.EndsAfterwards = !IsServerKind(state.Kind) && state.Kind != 8;
  try {
    RunUpgradeProgram(state, fileList);
  } catch (...) {
    if (state.EndsAfterwards) throw EProgramHalt(0);
    throw;
  }
  if (state.EndsAfterwards) throw EProgramHalt(0);
  return state.Result;
}
