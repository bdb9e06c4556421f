// Interim event log: until the event log writer lands, each event is one plain line appended to
// the program's user log in the Logs folder. Never raises to its caller.
#include <fstream>

#include "common/Classes.h"
#include "common/SysFolders.h"
#include "common/SysUtils.h"
#include "log/EventLog.h"

namespace {

// Line breaks inside a text would split the entry; they are written as "\r" and "\n".
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r')
      line += "\\r";
    else if (c == '\n')
      line += "\\n";
    else
      line += c;
  }
  return line;
}

void AppendEntry(const TObject* sender, const std::string& name, const std::string& text,
                 const std::exception* e) {
  std::string line = OneLine(name) + " | " + OneLine(text);
  if (sender) line += " | " + sender->ClassName();
  if (e) line += " | " + ExceptionClassName(*e) + ": " + OneLine(e->what());
  std::ofstream file(LogsFolder() + ProgramBasedName("UserLog_", ".TXT"), std::ios::app);
  file << line << "\r\n";
}

}  // namespace

void LogEvent(const std::string& name, const std::string& text) {
  try {
    AppendEntry(nullptr, name, text, nullptr);
  } catch (...) {
    // logging never fails its caller
  }
}

void LogEventEx(const TObject* sender, const std::string& name, const std::string& text,
                const std::exception* e) {
  try {
    AppendEntry(sender, name, text, e);
  } catch (...) {
    // logging never fails its caller
  }
}
