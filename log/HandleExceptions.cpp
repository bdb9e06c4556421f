#include "log/HandleExceptions.h"

#include <cstdio>
#include <random>

#include "common/DateUtils.h"
#include "common/FileUtils.h"
#include "common/FileVersion.h"
#include "common/Format.h"
#include "common/FormatSettings.h"
#include "common/PathUtils.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "host/Clock.h"
#include "host/FileChecks.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "log/LogContext.h"
#include "log/LogFile.h"
#include "log/LogHook.h"
#include "log/SpecialFiles.h"
#include "platform/EADSDatabaseError.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace {
const char* const CRLF = "\r\n";

std::string KeyLine(const std::string& key, const std::string& value) {
  return Format("%s=%s", {key, value}) + CRLF;
}

std::string Hex(uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", value);
  return buf;
}

// The message detail of the exceptions that carry more than a message.
std::string ExceptionDetail(const std::exception& e) {
  auto* db = dynamic_cast<const EADSDatabaseError*>(&e);
  if (!db) return {};
  return "EADSDatabaseError = " + std::to_string(db->ACEErrorCode) + " " +
         std::to_string(db->SQLErrorCode) + " " + db->TableName + " " + db->ColumnName + " " +
         db->DataSetName + " " + db->DataSetOwnerName + CRLF + GetSqlText(&e);
}

std::string ExceptionMessage(const std::exception& e) {
  std::string message = e.what();
  std::string detail = ExceptionDetail(e);
  if (!detail.empty()) message += CRLF + detail + " ";
  return message;
}

// The ten regional values as saved at start and as they are now, in the log's order.
std::string RegionalPairs() {
  const TRegionalSettingsRec& saved = SavedRegionalSettings();
  const TRegionalSettingsRec now = CurrentRegionalSettings();
  using Field = std::string TRegionalSettingsRec::*;
  static const Field order[] = {
      &TRegionalSettingsRec::LongDateFormat,    &TRegionalSettingsRec::ShortDateFormat,
      &TRegionalSettingsRec::LongTimeFormat,    &TRegionalSettingsRec::ShortTimeFormat,
      &TRegionalSettingsRec::TimeAMString,      &TRegionalSettingsRec::TimePMString,
      &TRegionalSettingsRec::DateSeparator,     &TRegionalSettingsRec::TimeSeparator,
      &TRegionalSettingsRec::ThousandSeparator, &TRegionalSettingsRec::DecimalSeparator};
  std::string text;
  for (Field f : order) {
    if (!text.empty()) text += CRLF;
    text += saved.*f + " " + now.*f;
  }
  return text;
}
}  // namespace

THandleExceptions::THandleExceptions() {
  BlankLineDue = true;
  LastWasEntry = false;
  VersionText.clear();
  InLibrary = false;
  // The version of the file that runs, also when it works on an installation other than its own.
  const TFileVerInfo program = ReadFileVersion(StartedProgramFullPath());
  std::string suffix;
  if (IsLibraryModule()) {
    InLibrary = true;
    const TFileVerInfo library = ReadFileVersion(ModuleFileName());
    if (library.Text != program.Text) suffix = " - " + library.Text;
  }
  if (!IsEmptyVersion(program)) VersionText = " v" + program.Text + suffix;
}

std::string THandleExceptions::GetLogFileName() {
  return LogsFolder() + UserLogFileName(RemoveInvalidFileNameChars(LogName));
}

void THandleExceptions::SetLogName(const std::string& name) {
  if (LogName != name) LogName = name;
}

void THandleExceptions::RotateLogFile(const std::string& path) {
  try {
    MoveFileIfLarger(path, DatedFileName(path, DateOrderFormat(true)), RotateLimit);
  } catch (...) {
  }
}

std::string THandleExceptions::ThreadText() {
  if (!InLibrary) return {};
  TSystemServices& sys = Platform().System();
  const uint32_t current = sys.CurrentThreadId(), main = sys.MainThreadId();
  return "(c:" + std::to_string(current) + "," + Hex(current) + " m:" + std::to_string(main) + "," +
         Hex(main) + ")";
}

std::string THandleExceptions::Header(const std::string& stamp) {
  if (SessionTag.empty()) {
    std::random_device seed;
    std::uniform_int_distribution<int> pick(0, 999999);
    SessionTag = " ** " + FormatDateTime("ddmmyyyy_hhmmss", Now()) + "_" +
                 std::to_string(Platform().System().MainThreadId()) + "_" +
                 std::to_string(pick(seed));
  }
  return "[" + stamp + VersionText + " " + SessionTag + " " + ThreadText() + " " + "]";
}

std::string THandleExceptions::BuildSystemInfo() {
  const TOsVersionInfo os = Platform().System().OsVersion();
  SystemInfoText = "OS:" + Format("%d %d %d %d %s ",
                                  {os.PlatformId, os.Major, os.Minor, os.Build, os.ServicePack});
  if (FirstWriteText.empty())
    FirstWriteText = " FirstWrite " + FormatDateTime("ddmmyyyy_hhmmss", Now()) + " ";
  SystemInfoText = FirstWriteText + SystemInfoText + " " + GetUserNameText() + " " +
                   GetComputerNameText() + " " + CRLF + CRLF + GetModuleInfoText() + CRLF + CRLF +
                   "Sys Vrl " + CRLF + RegionalPairs();
  return SystemInfoText;
}

std::string THandleExceptions::EntryText(const TDatHERecType& rec, bool existed) {
  std::string out;
  if (existed && BlankLineDue) out += CRLF;
  const bool continued = existed && !rec.EventName.empty() && rec.EventName == LastEntryName + "3";
  if (!continued) {
    out += Header(FormatDateTime("dd/mm/yyyy hh:mm:ss:zzz", rec.EventTime)) + CRLF;
    if (SystemInfoText.empty()) out += CRLF + BuildSystemInfo() + CRLF + CRLF;
    if (rec.Sender) {
      out += KeyLine("Sender_Class", rec.Sender->ClassName());
      if (auto* component = dynamic_cast<const TComponent*>(rec.Sender)) {
        out += KeyLine("Sender_Name", component->Name());
        out += KeyLine("Sender_Info", GetSenderInfo(rec.Sender));
        out += KeyLine("Sender_Parent", GetNamedParentText(rec.Sender));
      }
    }
  }
  if (rec.ExceptionObj) {
    out += KeyLine("Exception_Class", ExceptionClassName(*rec.ExceptionObj) + " " +
                                          std::to_string(Platform().System().LastErrorCode()));
    out += KeyLine("Exception_Msg", ExceptionMessage(*rec.ExceptionObj));
  }
  if (!rec.EventName.empty()) out += KeyLine("Proc_Name", rec.EventName);
  if (!rec.EventText.empty()) out += rec.EventText + CRLF;
  if (rec.ExceptionObj) out += KeyLine("Forms_E", GetFormsText());
  LastWasEntry = true;
  BlankLineDue = true;
  return out;
}

std::string THandleExceptions::PlainLineText(const TDatHERecType& rec, bool existed,
                                             const std::string& header, const std::string& stamp) {
  std::string out;
  if (existed && LastWasEntry) out += CRLF;
  LastWasEntry = false;
  BlankLineDue = !rec.BlankAfter;
  if (rec.WithHeader) out += header + CRLF;
  if (rec.WithTime) out += stamp + " - ";
  out += rec.EventName;
  if (!rec.NoLineEnd) out += CRLF;
  if (rec.BlankAfter) out += CRLF;
  return out;
}

void THandleExceptions::WriteEntry(const TDatHERecType& rec) {
  std::lock_guard guard(lock_);
  TLogFile file;
  std::string path;
  try {
    path = GetLogFileName();
    if (BytesSinceCheck == 0 || BytesSinceCheck >= RotateLimit) {
      RotateLogFile(path);
      BytesSinceCheck = 0;
    }
    // A file that cannot be opened, a link planted at its name included, sends the entry to
    // the program folder.
    if (!file.Open(path)) throw Exception("cannot open " + path);
  } catch (...) {
    try {
      file.Open(ProgramModuleFolder() + ExtractFileName(path));
    } catch (...) {
    }
  }
  try {
    BytesSinceCheck += static_cast<int32_t>(rec.EventName.size() + rec.EventText.size() + 100);
    const std::string stamp = FormatDateTime("dd/mm/yyyy hh:mm:ss:zzz", rec.EventTime);
    if (file.IsOpen()) {
      if (rec.LineMode)
        file.Write(PlainLineText(rec, file.Existed(), Header(stamp), stamp));
      else
        file.Write(EntryText(rec, file.Existed()));
    }
  } catch (...) {
  }
  LastEntryName = rec.EventName;
}
