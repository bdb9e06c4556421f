// The fatal-signal handler. Everything it calls is async-signal-safe: open/openat, fstat,
// access, write, clock_gettime, syscall(gettid), sigaction, raise, and libbacktrace, which is
// async-signal-safe where mmap is available (it allocates with mmap only). Its state is created
// at installation; the debug information is read on the first stack taken, in the handler:
// read at start-up it would cost every run about 0.1 s and 27 MiB for a crash that never comes.
// Texts are put together in a fixed buffer; the pieces that need formatting with the C++ library
// were built by PrepareFatalSignalLog.
#include <backtrace.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

#include "platform/FatalSignals.h"

namespace {

// libbacktrace reads the DWARF on this stack; only the pages it touches take memory.
constexpr size_t kAltStackSize = 1024 * 1024;
constexpr size_t kEntryCapacity = 64 * 1024;

struct TSignalNames {
  int Signal;
  const char* Name;
  const char* Text;
};
constexpr TSignalNames kSignalNames[] = {{SIGSEGV, "SIGSEGV", "Segmentation fault"},
                                         {SIGBUS, "SIGBUS", "Bus error"},
                                         {SIGFPE, "SIGFPE", "Floating point exception"},
                                         {SIGILL, "SIGILL", "Illegal instruction"},
                                         {SIGABRT, "SIGABRT", "Aborted"}};
constexpr size_t kSignalCount = sizeof kSignalNames / sizeof kSignalNames[0];

struct TPrepared {
  TFatalSignalLog Log;
  std::string FullPath;
  int FolderFd = -1;
};

std::atomic<TPrepared*> Prepared{nullptr};
std::atomic<bool> Handling{false};
backtrace_state* Backtrace = nullptr;
struct sigaction Previous[kSignalCount];
bool Installed = false;
char* AltStack = nullptr;
char Entry[kEntryCapacity];

const TSignalNames& NamesOf(int sig) {
  static constexpr TSignalNames unknown{0, "signal", "Fatal signal"};
  for (const TSignalNames& names : kSignalNames)
    if (names.Signal == sig) return names;
  return unknown;
}

// Appends to the fixed entry buffer; what does not fit is cut off.
class TEntryWriter {
 public:
  void Put(std::string_view text) {
    const size_t room = kEntryCapacity - length_;
    const size_t n = text.size() < room ? text.size() : room;
    std::memcpy(Entry + length_, text.data(), n);
    length_ += n;
  }
  void Put(const char* text) { Put(std::string_view(text ? text : "")); }
  void PutNumber(uint64_t value, int width = 0) {
    constexpr size_t kMaxDigits = 20;  // of a 64-bit number
    size_t digits = 1;
    for (uint64_t rest = value / 10; rest > 0; rest /= 10) ++digits;
    const size_t padded = width > 0 ? static_cast<size_t>(width) : 0;
    const size_t length = std::min(kMaxDigits, std::max(digits, padded));
    char text[kMaxDigits];
    // From the last digit back; the padding is the zeros left once value is used up.
    for (size_t i = length; i > 0; --i) {
      text[i - 1] = static_cast<char>('0' + value % 10);
      value /= 10;
    }
    Put(std::string_view(text, length));
  }
  size_t Length() const { return length_; }

 private:
  size_t length_ = 0;
};

// "dd/mm/yyyy hh:mm:ss:zzz" in local time, by the offset taken when the pieces were prepared.
void PutStamp(TEntryWriter& out, int64_t utcOffset) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int64_t local = static_cast<int64_t>(now.tv_sec) + utcOffset;
  int64_t days = local / 86400, seconds = local % 86400;
  if (seconds < 0) seconds += 86400, --days;
  // Civil date from days since 1970-01-01.
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  out.PutNumber(static_cast<uint64_t>(day), 2);
  out.Put("/");
  out.PutNumber(static_cast<uint64_t>(month), 2);
  out.Put("/");
  out.PutNumber(static_cast<uint64_t>(year), 4);
  out.Put(" ");
  out.PutNumber(static_cast<uint64_t>(seconds / 3600), 2);
  out.Put(":");
  out.PutNumber(static_cast<uint64_t>(seconds / 60 % 60), 2);
  out.Put(":");
  out.PutNumber(static_cast<uint64_t>(seconds % 60), 2);
  out.Put(":");
  out.PutNumber(static_cast<uint64_t>(now.tv_nsec / 1000000), 3);
}

int DiagLevel(const TFatalSignalLog& log) {
  for (const std::string& marker : log.Level3Markers)
    if (access(marker.c_str(), F_OK) == 0) return 3;
  for (const std::string& marker : log.Level2Markers)
    if (access(marker.c_str(), F_OK) == 0) return 2;
  return 1;
}

struct TStackWalk {
  TEntryWriter* Out;
  bool WithFunctions;
  bool InHandler = true;  // the frames of this file and the signal trampoline are left out
};

bool EndsWith(const char* text, std::string_view tail) {
  const size_t n = std::strlen(text);
  return n >= tail.size() && std::memcmp(text + n - tail.size(), tail.data(), tail.size()) == 0;
}

int OnFrame(void* data, uintptr_t, const char* file, int line, const char* function) {
  auto& walk = *static_cast<TStackWalk*>(data);
  if (walk.InHandler) {
    if (file && EndsWith(file, "PosixFatalSignals.cpp")) return 0;
    walk.InHandler = false;
    // The C library's return-from-signal trampoline, when its debug information is installed.
    if ((function && std::strcmp(function, "__restore_rt") == 0) ||
        (file && EndsWith(file, "libc_sigaction.c")))
      return 0;
  }
  if (!walk.WithFunctions) {
    // The call stack lines of level 1: "<file> - <line>" for frames with either.
    if ((file && *file) || line != 0) {
      walk.Out->Put("\r\n");
      walk.Out->Put(file);
      walk.Out->Put(" - ");
      walk.Out->PutNumber(static_cast<uint64_t>(line < 0 ? 0 : line));
    }
    return 0;
  }
  if (!(file && *file) && !(function && *function)) return 0;
  walk.Out->Put("\r\n  ");
  walk.Out->Put(file && *file ? file : "?");
  walk.Out->Put(" - ");
  walk.Out->PutNumber(static_cast<uint64_t>(line < 0 ? 0 : line));
  walk.Out->Put(" ");
  walk.Out->Put(function);
  return 0;
}

void OnBacktraceError(void*, const char*, int) {}

void PutStack(TEntryWriter& out, bool withFunctions) {
  if (!Backtrace) return;
  TStackWalk walk{&out, withFunctions};
  backtrace_full(Backtrace, 0, OnFrame, OnBacktraceError, &walk);
}

void WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n <= 0) return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void WriteEntry(int sig, const TPrepared& p) {
  const TFatalSignalLog& log = p.Log;
  int fd = -1;
  if (p.FolderFd >= 0)
    fd = openat(p.FolderFd, log.LogFileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                0644);
  if (fd < 0) fd = open(p.FullPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  struct stat info {};
  const bool existed = fstat(fd, &info) == 0 && info.st_size > 0;
  const uint64_t thread = static_cast<uint64_t>(syscall(SYS_gettid));
  const int level = DiagLevel(log);

  TEntryWriter out;
  if (existed) out.Put("\r\n");
  out.Put(log.HeaderBefore);
  PutStamp(out, log.UtcOffsetSeconds);
  out.Put(log.HeaderAfter);
  out.Put("\r\n");
  out.Put(log.ProcNamePrefix);
  out.PutNumber(static_cast<uint64_t>(level));
  out.Put("\r\n\r\n");
  if (level == 1) {
    PutStack(out, false);
  } else {
    out.Put("Exception class: ");
    out.Put(NamesOf(sig).Name);
    out.Put("\r\nMessage: ");
    out.Put(NamesOf(sig).Text);
    out.Put("\r\nThread: ");
    out.PutNumber(thread);
    out.Put("\r\n");
    out.Put(log.ReportHead);
    out.Put("\r\nCall stack:");
    PutStack(out, true);
    out.Put("\r\n");
    out.Put(log.ModulesText);
  }
  // The thread lines; the signal number stands where Windows gives the exception code.
  out.Put("\r\n\r\nExceptionThreadID: ");
  out.PutNumber(thread);
  out.Put("\r\nWin32ExceptionRecord: ");
  out.PutNumber(static_cast<uint64_t>(sig));
  out.Put("\r\n\r\n\r\n");
  WriteAll(fd, Entry, out.Length());
  close(fd);
}

// Back to the default action, which ends the process when the handler returns (the signal is
// blocked while it runs) or, for a fault, when the instruction runs again.
void EndWithDefaultAction(int sig) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
  raise(sig);
}

void OnFatalSignal(int sig, siginfo_t*, void*) {
  const int savedErrno = errno;
  // Only the first fatal signal writes; another thread failing meanwhile just ends.
  if (!Handling.exchange(true)) {
    if (const TPrepared* p = Prepared.load()) WriteEntry(sig, *p);
  }
  EndWithDefaultAction(sig);
  errno = savedErrno;
}

}  // namespace

void InstallFatalSignalHandlers() {
  if (Installed) return;
  if (!Backtrace) Backtrace = backtrace_create_state(nullptr, 1, OnBacktraceError, nullptr);
  if (!AltStack) AltStack = new char[kAltStackSize];
  stack_t stack{};
  stack.ss_sp = AltStack;
  stack.ss_size = kAltStackSize;
  sigaltstack(&stack, nullptr);
  for (size_t i = 0; i < kSignalCount; ++i) {
    struct sigaction action {};
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(kSignalNames[i].Signal, &action, &Previous[i]);
  }
  Installed = true;
}

void RemoveFatalSignalHandlers() {
  if (!Installed) return;
  for (size_t i = 0; i < kSignalCount; ++i)
    sigaction(kSignalNames[i].Signal, &Previous[i], nullptr);
  Installed = false;
}

void PrepareFatalSignalLog(const TFatalSignalLog& log) {
  TPrepared* p = nullptr;
  if (!log.LogFileName.empty()) {
    p = new TPrepared{log, log.LogFolder + log.LogFileName, -1};
    if (!log.LogFolder.empty())
      p->FolderFd = open(log.LogFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  if (TPrepared* old = Prepared.exchange(p)) {
    if (old->FolderFd >= 0) close(old->FolderFd);
    delete old;
  }
}

void AbortWithoutFatalEntry() {
  Handling.store(true);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(SIGABRT, &action, nullptr);
  std::abort();
}
