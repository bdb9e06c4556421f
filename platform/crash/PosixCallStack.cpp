// Call stacks through Boost.Stacktrace on its libbacktrace back end, which reads the line
// tables of the running program's debug information.
#include <link.h>

#include <boost/stacktrace.hpp>

#include "platform/CallStack.h"

std::vector<TStackFrame> CaptureCallStack(int skip) {
  std::vector<TStackFrame> frames;
  try {
    // One more to leave out this function itself.
    const boost::stacktrace::stacktrace stack(static_cast<std::size_t>(skip) + 1,
                                              static_cast<std::size_t>(-1));
    frames.reserve(stack.size());
    for (const boost::stacktrace::frame& frame : stack) {
      if (frame.empty()) continue;
      frames.push_back(
          TStackFrame{frame.source_file(), static_cast<int>(frame.source_line()), frame.name()});
    }
  } catch (...) {
    // A stack that cannot be read is reported empty.
  }
  return frames;
}

std::vector<std::string> LoadedModuleNames() {
  std::vector<std::string> names;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto& list = *static_cast<std::vector<std::string>*>(data);
        // The program itself comes first with an empty name.
        if (info->dlpi_name && info->dlpi_name[0] != '\0') list.emplace_back(info->dlpi_name);
        return 0;
      },
      &names);
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) names.insert(names.begin(), std::string(self, static_cast<size_t>(length)));
  return names;
}
