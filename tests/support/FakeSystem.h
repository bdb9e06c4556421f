// Fixed system services: a set clock, tick count, ids, user and computer, and a program path
// the test chooses (usually inside a temporary installation tree).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/StopRequest.h"
#include "platform/SystemServices.h"

class TFakeSystem : public TSystemServices {
 public:
  TDateTime Clock = 46364.5851851852;  // 08/12/2026 14:02:40
  int32_t Ticks = 19390512;
  uint32_t Pid = 3120;
  uint32_t ThreadId = 3120;
  uint32_t MainThread = 3120;
  uint32_t LastError = 0;
  std::string User = "admin";
  std::string Computer = "CRMSRV01";
  TOsVersionInfo Os{2, 6, 1, 7601, "6.1.0-test"};
  std::string ModulePath = "/opt/varnel/Utils/VrlChangeDocsPath";
  std::string ProgramFile = "/opt/varnel/Utils/VrlChangeDocsPath";
  std::map<std::string, std::string> Environment;  // the variables set; none by default
  TSystemRegionalSettings Regional;
  std::vector<std::string> Opened;                // ShellOpen targets
  std::vector<std::vector<std::string>> Started;  // program then arguments
  bool MutexFree = true;
  std::vector<std::string> Params;                      // command-line parameters
  int StartError = 0;                                   // StartHiddenProgram's answer
  std::vector<std::vector<std::string>> HiddenStarted;  // program then arguments
  std::vector<std::string> MutexesAcquired;
  std::vector<std::string> MutexesReleased;
  std::vector<int> Slept;  // milliseconds, one per wait

  TDateTime Now() override { return Clock; }
  int32_t TickCount() override { return Ticks; }
  uint32_t ProcessId() override { return Pid; }
  uint32_t CurrentThreadId() override { return ThreadId; }
  uint32_t MainThreadId() override { return MainThread; }
  uint32_t LastErrorCode() override { return LastError; }
  std::string UserName() override { return User; }
  std::string ComputerName() override { return Computer; }
  TOsVersionInfo OsVersion() override { return Os; }
  std::string EnvironmentVariable(const std::string& name) override {
    const auto found = Environment.find(name);
    return found == Environment.end() ? std::string() : found->second;
  }
  bool ShellOpen(const std::string& target) override {
    Opened.push_back(target);
    return true;
  }
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override {
    std::vector<std::string> call{program};
    call.insert(call.end(), args.begin(), args.end());
    Started.push_back(call);
    return true;
  }
  std::vector<std::string> CommandLineParams() override { return Params; }
  int StartHiddenProgram(const std::string& program,
                         const std::vector<std::string>& args) override {
    std::vector<std::string> call{program};
    call.insert(call.end(), args.begin(), args.end());
    HiddenStarted.push_back(call);
    return StartError;
  }
  bool AcquireNamedMutex(const std::string& name) override {
    MutexesAcquired.push_back(name);
    return MutexFree;
  }
  void ReleaseNamedMutex(const std::string& name) override { MutexesReleased.push_back(name); }
  void Sleep(int milliseconds) override { Slept.push_back(milliseconds); }
  TSystemRegionalSettings RegionalSettings() override { return Regional; }
  // A stop signal that arrives as soon as the stop signals are watched (0: none); the watching
  // itself is recorded, on and off.
  int StopSignalOnWatch = 0;
  std::vector<bool> StopSignalsWatched;
  void WatchStopSignals(bool on) override {
    StopSignalsWatched.push_back(on);
    if (on && StopSignalOnWatch != 0) RequestStop(StopSignalOnWatch);
  }

 protected:
  std::string StartedModuleFile() override { return ModulePath; }
  std::string StartedProgramFile() override { return ProgramFile; }
};
