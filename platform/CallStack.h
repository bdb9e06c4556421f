// Call stacks of our own programs, read from their debug information (line tables are built in
// every build type): each frame a source file name, a line number and a function name.
#pragma once

#include <string>
#include <typeinfo>
#include <vector>

struct TStackFrame {
  std::string SourceFile;  // as the debug information names it; empty when unknown
  int Line = 0;            // 0 when unknown
  std::string Function;    // demangled; empty when unknown
};

// The calling thread's stack, innermost frame first, without the skip innermost frames of the
// caller's own (CaptureCallStack itself is never listed).
std::vector<TStackFrame> CaptureCallStack(int skip);

// Where the exception being handled was thrown, innermost frame first: the stack of the last
// throw on the calling thread when it threw object (or, without an object address, an object
// of type); empty when the last throw was another one or its stack could not be taken.
std::vector<TStackFrame> ThrowSiteCallStack(const void* object, const std::type_info* type);

// Full paths of the program and of the shared libraries loaded into the process.
std::vector<std::string> LoadedModuleNames();
