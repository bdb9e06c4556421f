#include "app/report/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>

#include "common/Format.h"
#include "common/StrTable.h"

namespace {

// How often the writer looks again when the path changed under it before it gives up.
constexpr int kCommitAttempts = 3;
// Temporary names: the path's name (at most this many bytes of it), ".tmp" and random letters.
constexpr size_t kTemporaryStemBytes = 200;
constexpr size_t kTemporaryRandomChars = 10;
constexpr int kTemporaryNameAttempts = 100;

[[noreturn]] void Fail(const std::string& path, int error) {
  throw std::runtime_error(
      Format(LoadStr(sReportCannotBeWritten), {path, std::string(std::strerror(error))}));
}

[[noreturn]] void Refuse(const std::string& path, TStrId message) {
  throw std::runtime_error(Format(LoadStr(message), {path}));
}

// A file descriptor closed with its owner.
class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return fd_; }
  // Closes it now; the error of the close, or 0.
  int Close() {
    const int result = ::close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

struct TIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;
  bool operator==(const TIdentity&) const = default;
};

TIdentity IdentityOf(const struct stat& st) {
  return {st.st_dev, st.st_ino};
}

// Opens the folder of path (for the *at calls only) and sets name to the name in it.
int OpenFolderOf(const std::string& path, std::string& name) {
  const std::filesystem::path given(path);
  name = given.filename().string();
  if (name.empty() || name == "." || name == "..")
    Refuse(path, sReportFileNotReplaced);  // a folder
  const std::string folder = given.has_parent_path() ? given.parent_path().string() : ".";
  const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Fail(path, errno);
  return fd;
}

// The folder of path and the name in it, the folder opened once for every later step.
struct TReportPlace {
  std::string Path;
  std::string Name;
  TFd Folder;

  explicit TReportPlace(const std::string& path) : Path(path), Folder(OpenFolderOf(path, Name)) {}

  // What lies at name in the folder now, links not followed; nothing when nothing does.
  std::optional<TIdentity> At(const std::string& name) const {
    struct stat st {};
    if (::fstatat(Folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return IdentityOf(st);
    if (errno != ENOENT) Fail(Path, errno);
    return std::nullopt;
  }
};

// Refuses the database folder: its lock files are empty, and nothing but the engine writes there.
void RefuseTheDatabaseFolder(const TReportPlace& place, const std::string& databaseFolder) {
  struct stat database {};
  if (databaseFolder.empty() || ::stat(databaseFolder.c_str(), &database) != 0) return;
  struct stat here {};
  if (::fstat(place.Folder.Get(), &here) != 0) Fail(place.Path, errno);
  if (IdentityOf(here) == IdentityOf(database)) Refuse(place.Path, sReportInDatabaseFolder);
}

// Whether the text read from a file's start shows a report: its first line is a header line.
bool IsReportStart(const std::string& start, const TReportHeaders& headerLines) {
  for (const std::string& headerLine : headerLines) {
    if (start.size() < headerLine.size() || start.compare(0, headerLine.size(), headerLine) != 0)
      continue;
    const std::string rest = start.substr(headerLine.size());
    if (rest.empty() || rest.compare(0, 2, "\r\n") == 0 || rest.front() == '\n') return true;
  }
  return false;
}

// Refuses what lies at the place unless a report may replace it; its identity when there is
// something, which the rename makes sure it replaces.
std::optional<TIdentity> Inspect(const TReportPlace& place, const TReportHeaders& headerLines) {
  struct stat st {};
  if (::fstatat(place.Folder.Get(), place.Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;
    Fail(place.Path, errno);
  }
  if (!S_ISREG(st.st_mode)) Refuse(place.Path, sReportFileNotReplaced);
  // Non-blocking and without following a link: what is opened cannot hang the program.
  TFd file(::openat(place.Folder.Get(), place.Name.c_str(),
                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Get() < 0) {
    if (errno == ENOENT) return std::nullopt;                        // gone meanwhile
    if (errno == ELOOP) Refuse(place.Path, sReportFileNotReplaced);  // a link put there meanwhile
    Fail(place.Path, errno);
  }
  struct stat opened {};
  if (::fstat(file.Get(), &opened) != 0) Fail(place.Path, errno);
  if (!S_ISREG(opened.st_mode) || IdentityOf(opened) != IdentityOf(st))
    Refuse(place.Path, sReportFileNotReplaced);
  // The longest header line and what follows it, no more.
  size_t longest = 0;
  for (const std::string& headerLine : headerLines) longest = std::max(longest, headerLine.size());
  std::string start(longest + 2, '\0');
  size_t got = 0;
  while (got < start.size()) {
    const ssize_t n = ::read(file.Get(), start.data() + got, start.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(place.Path, errno);
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  start.resize(got);
  if (!start.empty() && !IsReportStart(start, headerLines))
    Refuse(place.Path, sReportFileNotReplaced);
  return IdentityOf(opened);
}

// Removes the temporary file unless it took the report's place.
class TTemporaryFile {
 public:
  explicit TTemporaryFile(const TReportPlace& place) : place_(place) {}
  ~TTemporaryFile() {
    if (!name_.empty()) ::unlinkat(place_.Folder.Get(), name_.c_str(), 0);
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  // Creates it under a fresh random name nobody can have planted anything at.
  TFd Create() {
    static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    const std::string stem = place_.Name.substr(0, kTemporaryStemBytes) + ".tmp";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      std::string name = stem;
      for (size_t i = 0; i < kTemporaryRandomChars; ++i) name += kLetters[pick(random)];
      const int fd = ::openat(place_.Folder.Get(), name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
      if (fd >= 0) {
        name_ = name;
        return TFd(fd);
      }
      if (errno != EEXIST) Fail(place_.Path, errno);
    }
    Fail(place_.Path, EEXIST);
  }
  const std::string& Name() const { return name_; }
  // It took the report's place: nothing to remove.
  void Keep() { name_.clear(); }

 private:
  const TReportPlace& place_;
  std::string name_;
};

// Writes the whole text and flushes it to disk; the error, or 0.
int WriteAll(TFd& file, const std::string& text) {
  int error = 0;
  for (size_t written = 0; error == 0 && written < text.size();) {
    const ssize_t n = ::write(file.Get(), text.data() + written, text.size() - written);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) written += static_cast<size_t>(n);
  }
  if (error == 0 && ::fsync(file.Get()) != 0) error = errno;
  const int closeError = file.Close();
  return error != 0 ? error : closeError;
}

bool RenameFlagsUnsupported(int error) {
  return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Puts the temporary file in the place of the name when what lies there is still what was
// inspected; false when it changed meanwhile (the caller inspects again).
bool Commit(const TReportPlace& place, TTemporaryFile& temporary,
            const std::optional<TIdentity>& inspected) {
  const int folder = place.Folder.Get();
  const char* from = temporary.Name().c_str();
  const char* to = place.Name.c_str();
  const unsigned flags = inspected ? RENAME_EXCHANGE : RENAME_NOREPLACE;
  if (::renameat2(folder, from, folder, to, flags) != 0) {
    if (errno == EEXIST || errno == ENOENT) return false;  // appeared or went meanwhile
    if (!RenameFlagsUnsupported(errno)) Fail(place.Path, errno);
    // This file system replaces only blindly: look once more, just before.
    if (place.At(place.Name) != inspected) return false;
    if (::renameat(folder, from, folder, to) != 0) Fail(place.Path, errno);
    temporary.Keep();
    return true;
  }
  if (!inspected) {
    temporary.Keep();
    return true;
  }
  // The temporary name now holds what lay at the path: the file inspected, or something put
  // there since, which gets its place back.
  if (place.At(temporary.Name()) != inspected) {
    if (::renameat2(folder, from, folder, to, RENAME_EXCHANGE) != 0) {
      temporary.Keep();  // it holds the other file now: left where it is, never removed
      Fail(place.Path, errno);
    }
    return false;
  }
  // The report is in place; the replaced one goes (were that to fail, it stays beside it).
  ::unlinkat(folder, from, 0);
  temporary.Keep();
  return true;
}

}  // namespace

void CheckReportFile(const std::string& path, const TReportHeaders& headerLines,
                     const std::string& databaseFolder) {
  const TReportPlace place(path);
  RefuseTheDatabaseFolder(place, databaseFolder);
  Inspect(place, headerLines);
}

void ReplaceReportFile(const std::string& path, const std::string& text,
                       const TReportHeaders& headerLines, const std::string& databaseFolder) {
  const TReportPlace place(path);
  RefuseTheDatabaseFolder(place, databaseFolder);
  std::optional<TIdentity> inspected = Inspect(place, headerLines);
  TTemporaryFile temporary(place);
  TFd file = temporary.Create();
  if (const int error = WriteAll(file, text); error != 0) Fail(path, error);
  for (int attempt = 0; attempt < kCommitAttempts; ++attempt) {
    if (attempt > 0) inspected = Inspect(place, headerLines);
    if (Commit(place, temporary, inspected)) return;
  }
  Fail(path, EAGAIN);
}
