// The operating-system services on POSIX (Linux).
#pragma once

#include <map>
#include <memory>

#include "platform/SystemServices.h"

class TPosixSystemServices : public TSystemServices {
 public:
  TPosixSystemServices();
  TDateTime Now() override;
  int32_t TickCount() override;
  uint32_t ProcessId() override;
  uint32_t CurrentThreadId() override;
  uint32_t MainThreadId() override;
  uint32_t LastErrorCode() override;
  std::string UserName() override;
  std::string ComputerName() override;
  TOsVersionInfo OsVersion() override;
  std::string EnvironmentVariable(const std::string& name) override;
  bool ShellOpen(const std::string& target) override;
  std::vector<std::string> CommandLineParams() override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  int StartHiddenProgram(const std::string& program, const std::vector<std::string>& args) override;
  bool AcquireNamedMutex(const std::string& name) override;
  void ReleaseNamedMutex(const std::string& name) override;
  void Sleep(int milliseconds) override;
  TSystemRegionalSettings RegionalSettings() override;
  // PosixStopSignals.cpp.
  void WatchStopSignals(bool on) override;
  ~TPosixSystemServices() override;

 protected:
  std::string StartedModuleFile() override;
  std::string StartedProgramFile() override;

 private:
  // Lock files held as named mutexes: name, then the lock file and its descriptor.
  struct THeldLock {
    std::string File;
    int Fd = -1;
  };
  std::map<std::string, THeldLock> mutexes_;
};
