#include "tests/support/RunProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace {
std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

std::string BuiltProgram(const std::string& name) {
  return std::string(VRL_BINARY_DIR) + "/bin/" + name;
}

TStartedProgram::TStartedProgram(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& input) {
  const auto in = scratch_.Path() / "in", out = scratch_.Path() / "out",
             err = scratch_.Path() / "err";
  std::ofstream(in, std::ios::binary) << input;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT, 0600);
  std::vector<std::string> argvText{program};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  const int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
}

TStartedProgram::~TStartedProgram() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

void TStartedProgram::Signal(int signal) const {
  if (pid_ > 0) kill(pid_, signal);
}

TProgramRun TStartedProgram::Wait() {
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  TProgramRun run;
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.Out = ReadAll(scratch_.Path() / "out");
  run.Err = ReadAll(scratch_.Path() / "err");
  return run;
}

TProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                       const std::string& input) {
  return TStartedProgram(program, args, input).Wait();
}

bool WaitForFileText(const std::filesystem::path& file, const std::string& text,
                     std::chrono::seconds timeout) {
  const int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0) return false;
  // The folder is watched, so a file created or replaced after the watch began is seen too.
  inotify_add_watch(watch, file.parent_path().c_str(), IN_MODIFY | IN_CREATE | IN_MOVED_TO);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool found = false;
  while (!(found = ReadAll(file).find(text) != std::string::npos)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd ready{watch, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
    char events[4096];
    if (read(watch, events, sizeof events) < 0) break;
  }
  close(watch);
  return found;
}
