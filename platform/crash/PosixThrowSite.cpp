// The stack of the last throw on each thread. Every executable that links this library has its
// calls of __cxa_throw routed here (the linker's --wrap, see CMakeLists.txt), so that a report
// of an exception caught far from its origin still shows where it was thrown. Only the return
// addresses are taken at the throw; names and lines are read when a report asks for them.
#include <boost/stacktrace.hpp>
#include <typeinfo>

#include "platform/CallStack.h"

namespace {
struct TLastThrow {
  void* Object = nullptr;
  const std::type_info* Type = nullptr;
  boost::stacktrace::stacktrace Stack{0, 0};
};
thread_local TLastThrow LastThrow;
}  // namespace

extern "C" {
[[noreturn]] void __real___cxa_throw(void* object, std::type_info* type, void (*destroy)(void*));

[[noreturn]] void __wrap___cxa_throw(void* object, std::type_info* type, void (*destroy)(void*)) {
  try {
    LastThrow.Stack = boost::stacktrace::stacktrace(1, static_cast<std::size_t>(-1));
    LastThrow.Object = object;
    LastThrow.Type = type;
  } catch (...) {
    LastThrow.Object = nullptr;
    LastThrow.Type = nullptr;
  }
  __real___cxa_throw(object, type, destroy);
}
}

std::vector<TStackFrame> ThrowSiteCallStack(const void* object, const std::type_info* type) {
  std::vector<TStackFrame> frames;
  const bool same =
      object ? object == LastThrow.Object : type && LastThrow.Type && *type == *LastThrow.Type;
  if (!same) return frames;
  try {
    for (const boost::stacktrace::frame& frame : LastThrow.Stack)
      if (!frame.empty())
        frames.push_back(
            TStackFrame{frame.source_file(), static_cast<int>(frame.source_line()), frame.name()});
  } catch (...) {
    frames.clear();
  }
  return frames;
}
