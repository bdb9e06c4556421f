// The report text of the exception-capture component (levels 2 and 3 of the log). Lines joined
// with CR LF, no line end after the last:
//   Exception class: <class of what was thrown, or of the signal>
//   Message: <its message>
//   Thread: <thread id>
//   Program: <program file> <version>
//   Call stack:
//     <source file> - <line> <function>      one line per frame, innermost first
//   Modules:
//     <program or library file>              one line per loaded module
// The fatal-signal handler writes the same layout from the pieces built here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CallStack.h"

// "Program: <path> <version>" (the version left out when the program has none).
std::string ReportProgramLine();
// "Modules:" and one indented line per loaded module.
std::string ReportModulesText();
std::string BuildEurekaReport(const std::string& exceptionClass, const std::string& message,
                              uint32_t threadId, const std::vector<TStackFrame>& stack);
