// Operating-system services the system asks for, behind one interface so tests can fix them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/RegionalSettings.h"
#include "common/TDateTime.h"

// The operating system's version, in the numbers the log's "OS:" text shows.
struct TOsVersionInfo {
  int PlatformId = 0;
  int Major = 0;
  int Minor = 0;
  int Build = 0;
  std::string ServicePack;
};

class TSystemServices {
 public:
  virtual ~TSystemServices() = default;

  // Local time now.
  virtual TDateTime Now() = 0;
  // Milliseconds since the system started, truncated to a signed 32-bit number.
  virtual int32_t TickCount() = 0;
  virtual uint32_t ProcessId() = 0;
  virtual uint32_t CurrentThreadId() = 0;
  virtual uint32_t MainThreadId() = 0;
  // The calling thread's last system error code.
  virtual uint32_t LastErrorCode() = 0;
  // Empty when the system cannot tell.
  virtual std::string UserName() = 0;
  virtual std::string ComputerName() = 0;
  virtual TOsVersionInfo OsVersion() = 0;

  // Full path of the running module (the executable, or the library the code runs in), as it
  // stands in the program folder: under its own file name in the folder PlaceProgramIn named,
  // otherwise where it lies.
  std::string ModuleFileName();
  // Full path of the program file (the first command-line element, resolved), placed likewise.
  std::string ProgramPath();
  // The program file the process was started from, wherever the program works: what it is (its
  // version), never where it finds its installation.
  std::string StartedProgramPath() { return StartedProgramFile(); }
  // Makes folder (ending with a separator) the program folder: everything the programs find
  // beside themselves (ini files, engine client files, markers) and the installation around
  // them are then found from there, while the file names stay the program's own. Empty: the
  // folder the program lies in.
  void PlaceProgramIn(std::string folder) { placement_ = std::move(folder); }
  const std::string& ProgramPlacement() const { return placement_; }

  // The value of an environment variable; empty when it is not set.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;

  // Starts a web address or document with the desktop's opener; false when it could not start.
  virtual bool ShellOpen(const std::string& target) = 0;
  // The command-line parameters after the program name.
  virtual std::vector<std::string> CommandLineParams() = 0;

  // Starts a program with arguments and does not wait for it; false when it could not start.
  // Its exit is collected when it ends (no zombie is left behind).
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& args) = 0;
  // Starts a program hidden (no terminal, no window) with exactly these arguments, never through
  // a shell; 0 when it started, otherwise the system's error number.
  virtual int StartHiddenProgram(const std::string& program,
                                 const std::vector<std::string>& args) = 0;
  // Creates or opens a named mutex held for the rest of the run; false when another process
  // already holds it.
  virtual bool AcquireNamedMutex(const std::string& name) = 0;
  // Lets go of a named mutex this process holds; nothing when it holds none of that name.
  virtual void ReleaseNamedMutex(const std::string& name) = 0;
  // Waits this many milliseconds.
  virtual void Sleep(int milliseconds) = 0;

  virtual TSystemRegionalSettings RegionalSettings() = 0;

  // While on, the stop signals (SIGINT, SIGTERM, SIGHUP) no longer end the process: each records
  // a stop request (platform/StopRequest.h) for the rewrite under way. Off puts back what they
  // did before. Services without signals do nothing.
  virtual void WatchStopSignals(bool on) { (void)on; }

 protected:
  // Where the running module and the program file lie.
  virtual std::string StartedModuleFile() = 0;
  virtual std::string StartedProgramFile() = 0;

 private:
  std::string placement_;
};
