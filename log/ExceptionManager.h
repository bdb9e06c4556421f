// The exception manager: connects the exception-capture component (TEurekaLog) to the event
// log. Every exception the component reports becomes a log entry, its detail set by the
// diagnostic level that the marker files in the DBSys folder give (read again at every
// notification); an unhandled exception object also gets the "Message registered in log file:"
// box. One process-wide instance, HEMgr, made by CreateHEMgr and freed by FreeHEMgr.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Classes.h"
#include "log/EurekaLog.h"

struct TExceptionPolicy {
  bool Logged = false;
  bool Told = false;  // the user gets the "Message registered in log file:" box
};

class THEMgr : public TObject {
 public:
  THEMgr() = default;
  ~THEMgr() override;
  std::string ClassName() const override { return "THEMgr"; }
  std::string UnitName() const override { return "ExceptionManager"; }

  // Attaches the manager to component (none: to a component of its own), sets the handled-
  // exception reporting and the freeze detection from a level-3 marker, and logs the start at
  // levels 2 and 3.
  void InitEurekaLog(TEurekaLog* Component);
  // 3 with a level-3 marker, else 2 with a level-2 marker, else 1.
  int GetDiagLevel() const;

  void OnUnhandledNotify(TEurekaExceptionRecord& Record, bool& Handled);
  void OnHandledNotify(TEurekaExceptionRecord& Record, bool& Handled);
  void HandleEurekaException(const std::string& EventName, TEurekaExceptionRecord& Record,
                             bool& Handled);

  static TExceptionPolicy GetExceptionPolicy(int Level, const std::string& EventName);
  static std::string BuildExceptionText(int Level, const TEurekaExceptionRecord& Record);
  static std::string CallStackToText(const std::vector<TStackFrame>& Stack);
  static std::string ExceptionThreadText(const TEurekaExceptionRecord& Record);

  std::string DiagMarker2;
  std::string DiagMarker3;
  std::string DiagMarker2Program;
  std::string DiagMarker3Program;
  std::unique_ptr<TEurekaLog> OwnCaptureComponent;

 private:
  void SetMarkerFileNames();
  void ConfigureFromMarkerFile(TEurekaLog* Component);
  // Hands the fatal-signal handler the pieces of its log entry (see platform/FatalSignals.h).
  void PrepareFatalSignalEntry() const;
};

// The single manager; none before CreateHEMgr and after FreeHEMgr.
extern constinit std::unique_ptr<THEMgr> HEMgr;
void CreateHEMgr();
void FreeHEMgr();
// HEMgr->InitEurekaLog(Component); nothing without a manager.
void InitEurekaLog(TEurekaLog* Component);
