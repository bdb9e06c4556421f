#include "log/EventLog.h"

#include "common/DateUtils.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "host/Clock.h"
#include "host/SysFolders.h"
#include "log/HandleExceptions.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "platform/engine/EADSDatabaseError.h"

#include <memory>

#include "log/LogHook.h"

TExceptionEvent ApplicationOnException = nullptr;

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
    ApplicationOnException = AppException;
  }
  writer->SetLogName(logName);
}

void StopEventLog() {
  LogHook = nullptr;
  ApplicationOnException = nullptr;
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
}

void AppException(const TObject* sender, const std::exception& e) {
  try {
    if (!writer) return;
    TDatHERecType rec;
    rec.EventTime = Now();
    rec.ExceptionObj = &e;
    rec.Sender = sender;
    writer->WriteEntry(rec);
  } catch (...) {
  }
}

void ShowLoggedMessage(const std::exception& e) {
  try {
    auto* db = dynamic_cast<const EADSDatabaseError*>(&e);
    if (db && db->ACEErrorCode == 5041) return;
    // The text holds no placeholder, so the arguments leave it unchanged.
    const std::string text = Format(LoadStr(65187), {std::string(e.what()), ""});
    Platform().Ui().ShowMessage(text, TMessageKind::mkError);
  } catch (...) {
  }
}

void HandleApplicationException(const TObject* sender, const std::exception& e) {
  if (ApplicationOnException) {
    ApplicationOnException(sender, e);
    // The user is told that the failure went to the log, as the exception manager reports it.
    ShowLoggedMessage(e);
    return;
  }
  try {
    Platform().Ui().ShowError(e.what());
  } catch (...) {
  }
}
