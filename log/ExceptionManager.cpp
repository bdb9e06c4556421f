#include "log/ExceptionManager.h"

#include <ctime>

#include "common/FileUtils.h"
#include "common/IniFile.h"
#include "common/PathUtils.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "log/EurekaReport.h"
#include "log/EventLog.h"
#include "log/HandleExceptions.h"
#include "log/SpecialFiles.h"
#include "platform/FatalSignals.h"

constinit std::unique_ptr<THEMgr> HEMgr;

namespace {
const char* const CRLF = "\r\n";
const char* const UnhandledEvent = "GenUnHndExp";
const char* const HandledEvent = "GenHndExp";

// Markers that cannot be tested count as absent.
bool MarkerExists(const std::string& path) {
  try {
    return !path.empty() && FileExists(path);
  } catch (...) {
    return false;
  }
}

// The marker path with "_" and the program's base name before its extension.
std::string ProgramMarker(const std::string& marker) {
  return ChangeFileExt(marker, "") + "_" + FileBaseName(ModuleFileName()) + ExtractFileExt(marker);
}

int64_t LocalUtcOffsetSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_gmtoff;
}
}  // namespace

THEMgr::~THEMgr() {
  // The signal handler must not write with pieces of a manager that is gone.
  PrepareFatalSignalLog(TFatalSignalLog{});
}

void THEMgr::InitEurekaLog(TEurekaLog* Component) {
  if (!Component) {
    OwnCaptureComponent = std::make_unique<TEurekaLog>(nullptr);
    Component = OwnCaptureComponent.get();
  }
  SetMarkerFileNames();
  Component->OnExceptionNotify = [this](TEurekaExceptionRecord& record, bool& handled) {
    OnUnhandledNotify(record, handled);
  };
  if (MarkerExists(DiagMarker3) || MarkerExists(DiagMarker3Program))
    ConfigureFromMarkerFile(Component);
  PrepareFatalSignalEntry();
  const int level = GetDiagLevel();
  if (level > 1) LogEvent("***** InitEurekaLog ***** ", std::to_string(level));
}

void THEMgr::SetMarkerFileNames() {
  DiagMarker2 = GetSpecialFilePath(UserLogFileName("VarnelSystem2"));
  DiagMarker3 = GetSpecialFilePath(UserLogFileName("VarnelSystem3"));
  DiagMarker2Program = ProgramMarker(DiagMarker2);
  DiagMarker3Program = ProgramMarker(DiagMarker3);
}

void THEMgr::ConfigureFromMarkerFile(TEurekaLog* Component) {
  const std::string settings = MarkerExists(DiagMarker3Program) ? DiagMarker3Program : DiagMarker3;
  Component->OnHandledExceptionNotify = [this](TEurekaExceptionRecord& record, bool& handled) {
    OnHandledNotify(record, handled);
  };
  TEurekaLogOptions& options = CurrentEurekaLogOptions();
  options.BehaviourOptions |= boHandleHandledExceptions;
  options.FreezeActivate = true;
  int64_t timeout = 120;
  if (!TryStrToInt(ReadIniString(settings, "GEN", "FreezeTimeout", "120"), timeout)) timeout = 120;
  options.FreezeTimeout = static_cast<int>(timeout);
}

int THEMgr::GetDiagLevel() const {
  if (MarkerExists(DiagMarker3) || MarkerExists(DiagMarker3Program)) return 3;
  if (MarkerExists(DiagMarker2) || MarkerExists(DiagMarker2Program)) return 2;
  return 1;
}

void THEMgr::OnUnhandledNotify(TEurekaExceptionRecord& Record, bool& Handled) {
  HandleEurekaException(UnhandledEvent, Record, Handled);
}

void THEMgr::OnHandledNotify(TEurekaExceptionRecord& Record, bool& Handled) {
  HandleEurekaException(HandledEvent, Record, Handled);
}

TExceptionPolicy THEMgr::GetExceptionPolicy(int Level, const std::string& EventName) {
  if (EventName == UnhandledEvent) return {true, true};
  if (EventName == HandledEvent) return {Level == 3, false};
  return {};
}

void THEMgr::HandleEurekaException(const std::string& EventName, TEurekaExceptionRecord& Record,
                                   bool& Handled) {
  Handled = true;
  const int level = GetDiagLevel();
  const TExceptionPolicy policy = GetExceptionPolicy(level, EventName);
  if (!policy.Logged) return;
  const std::exception* e = Record.ExceptionObject;
  const std::string detail = BuildExceptionText(level, Record);
  LogEventEx(nullptr, EventName + " " + std::to_string(level), CRLF + detail + CRLF, e);
  if (policy.Told && !IsLibraryModule() && e) ShowLoggedMessage(*e);
}

std::string THEMgr::BuildExceptionText(int Level, const TEurekaExceptionRecord& Record) {
  std::string text = Level == 1 ? CallStackToText(Record.CallStack) : Record.LogText;
  const std::string thread = ExceptionThreadText(Record);
  if (!thread.empty()) text += CRLF + thread;
  return text;
}

std::string THEMgr::CallStackToText(const std::vector<TStackFrame>& Stack) {
  std::string text;
  for (const TStackFrame& frame : Stack)
    if (!frame.SourceFile.empty() || frame.Line != 0)
      text += CRLF + frame.SourceFile + " - " + std::to_string(frame.Line);
  return text;
}

std::string THEMgr::ExceptionThreadText(const TEurekaExceptionRecord& Record) {
  std::string text;
  try {
    text = CRLF + ("ExceptionThreadID: " + std::to_string(Record.ThreadID)) + CRLF;
    // On Linux the system exception record is the caught signal: its number stands where
    // Windows gives the exception code. Without a signal the line is left out.
    if (Record.ExceptionCode)
      text += "Win32ExceptionRecord: " + std::to_string(*Record.ExceptionCode) + CRLF;
  } catch (...) {
  }
  return text;
}

void THEMgr::PrepareFatalSignalEntry() const {
  TFatalSignalLog log;
  try {
    if (EventLog()) {
      const std::string path = EventLog()->GetLogFileName();
      log.LogFolder = ExtractFilePath(path);
      log.LogFileName = ExtractFileName(path);
      log.HeaderBefore = "[";
      log.HeaderAfter = EventLog()->Header("").substr(1);
    }
    log.ProcNamePrefix = "Proc_Name=" + std::string(UnhandledEvent) + " ";
    log.Level3Markers = {DiagMarker3, DiagMarker3Program};
    log.Level2Markers = {DiagMarker2, DiagMarker2Program};
    log.ReportHead = ReportProgramLine();
    log.ModulesText = ReportModulesText();
    log.UtcOffsetSeconds = LocalUtcOffsetSeconds();
  } catch (...) {
    log = TFatalSignalLog{};
  }
  PrepareFatalSignalLog(log);
}

void CreateHEMgr() {
  if (!HEMgr) HEMgr = std::make_unique<THEMgr>();
}

void FreeHEMgr() {
  HEMgr.reset();
}

void InitEurekaLog(TEurekaLog* Component) {
  if (HEMgr) HEMgr->InitEurekaLog(Component);
}
