#include "log/EventLog.h"

#include <memory>

#include "common/DateUtils.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "host/Clock.h"
#include "host/SysFolders.h"
#include "log/EurekaLog.h"
#include "log/HandleExceptions.h"
#include "log/LogHook.h"
#include "platform/EADSDatabaseError.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

namespace {
// Created by StartEventLog; freed by StopEventLog (the event log unit's steps).
constinit std::unique_ptr<THandleExceptions> writer;
}  // namespace

THandleExceptions* EventLog() {
  return writer.get();
}

void StartAppEventLog() {
  StartEventLog(ProgramBasedName("", ""));
}

void StartEventLog(const std::string& logName) {
  if (!writer) {
    writer = std::make_unique<THandleExceptions>();
    writer->SetLogName(logName);
    writer->LastEntryName.clear();
    // From here on the units below the log and the program entries write through it.
    LogHook = LogEvent;
  }
  writer->SetLogName(logName);
}

void StopEventLog() {
  LogHook = nullptr;
  writer.reset();
}

void LogEvent(const std::string& name, const std::string& text) {
  LogEventEx(nullptr, name, text, nullptr);
}

void LogEventEx(const TObject* sender, const std::string& name, const std::string& text,
                const std::exception* e) {
  if (!writer) return;
  try {
    TDatHERecType rec;
    rec.EventTime = Now();
    rec.EventName = name;
    rec.EventText = text;
    rec.ExceptionObj = e;
    rec.Sender = sender;
    writer->WriteEntry(rec);
  } catch (...) {
  }
  try {
    if (e) ReportHandledException(*e);
  } catch (...) {
  }
}

void ShowLoggedMessage(const std::exception& e) {
  try {
    auto* db = dynamic_cast<const EADSDatabaseError*>(&e);
    if (db && db->ACEErrorCode == 5041) return;
    // The text holds no placeholder, so the arguments leave it unchanged.
    const std::string text = Format(LoadStr(sRegisteredInLog), {std::string(e.what()), ""});
    Platform().Ui().ShowMessage(text, TMessageKind::mkError);
  } catch (...) {
  }
}
