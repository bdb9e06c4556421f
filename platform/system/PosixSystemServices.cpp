#include "platform/system/PosixSystemServices.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/DateUtils.h"
#include "platform/system/LocalePatterns.h"

extern char** environ;

namespace {

// The program and its arguments as exec takes them, ending with a null pointer; the texts stay
// owned by the caller.
std::vector<char*> ArgumentVector(const std::string& program,
                                  const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// The started program runs on by itself; a waiting thread collects its exit status, so it
// leaves no zombie behind.
void ReapWhenItEnds(pid_t pid) {
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace

TPosixSystemServices::TPosixSystemServices() = default;

TPosixSystemServices::~TPosixSystemServices() {
  while (!mutexes_.empty()) ReleaseNamedMutex(mutexes_.begin()->first);
}

TDateTime TPosixSystemServices::Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return UnixTimeToLocalDateTime(ts.tv_sec, ts.tv_nsec);
}

int32_t TPosixSystemServices::TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000;
  return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

uint32_t TPosixSystemServices::ProcessId() {
  return static_cast<uint32_t>(getpid());
}
uint32_t TPosixSystemServices::CurrentThreadId() {
  return static_cast<uint32_t>(gettid());
}
uint32_t TPosixSystemServices::MainThreadId() {
  return static_cast<uint32_t>(getpid());
}
uint32_t TPosixSystemServices::LastErrorCode() {
  return static_cast<uint32_t>(errno);
}

std::string TPosixSystemServices::UserName() {
  passwd pw{};
  passwd* found = nullptr;
  char buf[4096];
  if (getpwuid_r(geteuid(), &pw, buf, sizeof buf, &found) != 0 || !found) return {};
  return found->pw_name;
}

std::string TPosixSystemServices::ComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

TOsVersionInfo TPosixSystemServices::OsVersion() {
  // Platform 3 stands for Linux; major, minor and patch from the kernel release; the kernel's
  // version string in place of a service pack.
  TOsVersionInfo info;
  info.PlatformId = 3;
  utsname u{};
  if (uname(&u) == 0) {
    std::sscanf(u.release, "%d.%d.%d", &info.Major, &info.Minor, &info.Build);
    info.ServicePack = u.version;
  }
  return info;
}

std::string TPosixSystemServices::StartedModuleFile() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

std::string TPosixSystemServices::StartedProgramFile() {
  return StartedModuleFile();
}

std::string TPosixSystemServices::EnvironmentVariable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? std::string(value) : std::string();
}

std::vector<std::string> TPosixSystemServices::CommandLineParams() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::vector<std::string> params;
  std::string item;
  while (std::getline(in, item, '\0')) params.push_back(item);
  if (!params.empty()) params.erase(params.begin());  // the program itself
  return params;
}

bool TPosixSystemServices::ShellOpen(const std::string& target) {
  return StartProgram("xdg-open", {target});
}

bool TPosixSystemServices::StartProgram(const std::string& program,
                                        const std::vector<std::string>& args) {
  std::vector<char*> argv = ArgumentVector(program, args);
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  ReapWhenItEnds(pid);
  return true;
}

int TPosixSystemServices::StartHiddenProgram(const std::string& program,
                                             const std::vector<std::string>& args) {
  std::vector<char*> argv = ArgumentVector(program, args);
  // Hidden: no terminal to read from or write to, and a session of its own.
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null",
                                     fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  const int result =
      posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (result == 0) ReapWhenItEnds(pid);
  return result;
}

bool TPosixSystemServices::AcquireNamedMutex(const std::string& name) {
  if (mutexes_.count(name)) return true;
  std::string file = (std::filesystem::temp_directory_path() / (name + ".lock")).string();
  int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  mutexes_[name] = THeldLock{file, fd};
  return true;
}

void TPosixSystemServices::ReleaseNamedMutex(const std::string& name) {
  auto held = mutexes_.find(name);
  if (held == mutexes_.end()) return;
  // Removed while still locked, so no other process can take a lock on a file about to vanish.
  unlink(held->second.File.c_str());
  close(held->second.Fd);
  mutexes_.erase(held);
}

void TPosixSystemServices::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

TSystemRegionalSettings TPosixSystemServices::RegionalSettings() {
  // The user's locale as the environment selects it (LC_ALL, LC_TIME, LC_NUMERIC, LANG), read
  // without changing the process's own C locale.
  TSystemRegionalSettings result;
  locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (!locale) locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (!locale) return result;
  auto item = [&](nl_item what) { return std::string(nl_langinfo_l(what, locale)); };
  // One-byte separators only; a locale without one (or with a multi-byte one) keeps the default.
  auto separator = [](const std::string& text, char fallback) {
    return text.size() == 1 ? text[0] : fallback;
  };
  const TDelphiPattern date = DateFormatFromLocale(item(D_FMT));
  const TDelphiPattern time = TimeFormatFromLocale(item(T_FMT));
  if (!date.Pattern.empty()) {
    result.ShortDateFormat = date.Pattern;
    result.LongDateFormat = LongDateFormatFor(date.Pattern);
  }
  if (date.Separator) result.DateSeparator = date.Separator;
  if (!time.Pattern.empty()) {
    result.LongTimeFormat = time.Pattern;
    result.ShortTimeFormat = WithoutSeconds(time.Pattern);
  }
  if (time.Separator) result.TimeSeparator = time.Separator;
  result.TimeAMString = item(AM_STR);
  result.TimePMString = item(PM_STR);
  result.DecimalSeparator = separator(item(RADIXCHAR), result.DecimalSeparator);
  result.ThousandSeparator = separator(item(THOUSEP), result.ThousandSeparator);
  freelocale(locale);
  return result;
}
