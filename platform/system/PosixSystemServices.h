// The operating-system services on POSIX (Linux).
#pragma once

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
  std::string ModuleFileName() override;
  std::string ProgramPath() override;
  bool ShellOpen(const std::string& target) override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& args) override;
  bool AcquireNamedMutex(const std::string& name) override;
  TSystemRegionalSettings RegionalSettings() override;
  ~TPosixSystemServices() override;

 private:
  std::vector<int> mutexFds_;
};
