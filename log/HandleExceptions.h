// The event log writer: turns each event into an entry of "UserLog_<name>.TXT" in the Logs
// folder. The file is opened, appended to and closed for every entry; the first entry of a run
// carries a block of system information; the file is moved aside under a dated name once it
// has grown to 3,000,000 bytes.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "common/Classes.h"
#include "log/DatHERecType.h"

class THandleExceptions : public TObject {
 public:
  THandleExceptions();
  virtual ~THandleExceptions() = default;
  std::string ClassName() const override { return "THandleExceptions"; }
  std::string UnitName() const override { return "HandleExceptions"; }

  // Full path of the log file: the Logs folder, "UserLog_" + the log name without the
  // characters a file name cannot hold + ".TXT".
  virtual std::string GetLogFileName();
  void SetLogName(const std::string& name);
  // Writes one record; never raises. Calls from several threads are serialised.
  void WriteEntry(const TDatHERecType& rec);
  // Moves the file aside under its dated name when it has reached the size limit; failures
  // (a target that exists included) leave the file where it is.
  void RotateLogFile(const std::string& path);

  static constexpr int64_t RotateLimit = 3000000;

  // The header line of an entry written at stamp, without its line end.
  std::string Header(const std::string& stamp);

  bool InLibrary = false;
  std::string SessionTag;
  std::string FirstWriteText;
  std::string SystemInfoText;
  bool BlankLineDue = true;
  bool LastWasEntry = false;
  std::string VersionText;
  std::string LogName;
  std::string LastEntryName;
  int32_t BytesSinceCheck = 0;

 private:
  std::string ThreadText();
  std::string BuildSystemInfo();
  std::string EntryText(const TDatHERecType& rec, bool existed);
  std::string PlainLineText(const TDatHERecType& rec, bool existed, const std::string& header,
                            const std::string& stamp);

  std::recursive_mutex lock_;
};
