#include "log/EventLog.h"

#include "common/DateUtils.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "common/SysFolders.h"
#include "log/EurekaLog.h"
#include "log/HandleExceptions.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"
#include "platform/engine/EADSDatabaseError.h"

THandleExceptions* EventLog = nullptr;

void StartAppEventLog() {
  StartEventLog(ProgramBasedName("", ""));
}

void StartEventLog(const std::string& logName) {
  if (!EventLog) {
    EventLog = new THandleExceptions();
    EventLog->SetLogName(logName);
    EventLog->LastEntryName.clear();
  }
  EventLog->SetLogName(logName);
}

void StopEventLog() {
  delete EventLog;
  EventLog = nullptr;
}

void LogEvent(const std::string& name, const std::string& text) {
  LogEventEx(nullptr, name, text, nullptr);
}

void LogEventEx(const TObject* sender, const std::string& name, const std::string& text,
                const std::exception* e) {
  if (!EventLog) return;
  try {
    TDatHERecType rec;
    rec.EventTime = Now();
    rec.EventName = name;
    rec.EventText = text;
    rec.ExceptionObj = e;
    rec.Sender = sender;
    EventLog->WriteEntry(rec);
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
    const std::string text = Format(LoadStr(65187), {std::string(e.what()), ""});
    Platform().Ui().ShowMessage(text);
  } catch (...) {
  }
}
