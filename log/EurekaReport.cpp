#include "log/EurekaReport.h"

#include "common/FileVersion.h"
#include "host/SysFolders.h"

namespace {
const char* const CRLF = "\r\n";
}

std::string ReportProgramLine() {
  // The file that runs, also when it works on an installation other than its own.
  std::string line = "Program: " + StartedProgramFullPath();
  const TFileVerInfo version = ReadFileVersion(StartedProgramFullPath());
  if (!IsEmptyVersion(version)) line += " " + version.Text;
  return line;
}

std::string ReportModulesText() {
  std::string text = "Modules:";
  for (const std::string& module : LoadedModuleNames()) text += CRLF + ("  " + module);
  return text;
}

std::string BuildEurekaReport(const std::string& exceptionClass, const std::string& message,
                              uint32_t threadId, const std::vector<TStackFrame>& stack) {
  std::string text = "Exception class: " + exceptionClass + CRLF + "Message: " + message + CRLF +
                     "Thread: " + std::to_string(threadId) + CRLF + ReportProgramLine() + CRLF +
                     "Call stack:";
  for (const TStackFrame& frame : stack) {
    if (frame.SourceFile.empty() && frame.Function.empty()) continue;
    text += CRLF + ("  " + (frame.SourceFile.empty() ? std::string("?") : frame.SourceFile)) +
            " - " + std::to_string(frame.Line) + " " + frame.Function;
  }
  return text + CRLF + ReportModulesText();
}
