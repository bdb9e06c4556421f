#include "common/FileUtils.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "common/DateUtils.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"

namespace fs = std::filesystem;

namespace {

bool Match(const char* name, const char* mask) {
  // Iterative wildcard match with one backtrack point for the last "*".
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*mask == '*') {
      star = mask++;
      resume = name;
    } else if (*mask == '?' || (*mask && UpCase(*mask) == UpCase(*name))) {
      ++mask;
      ++name;
    } else if (star) {
      mask = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*mask == '*') ++mask;
  return *mask == '\0';
}

bool HasWildcard(const std::string& text) {
  return text.find_first_of("*?") != std::string::npos;
}

// Every regular file of the folder (following links), sorted by name.
std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? "." : folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*") return true;
  return Match(name.c_str(), mask.c_str());
}

bool FileExists(const std::string& file) {
  struct stat st {};
  return !file.empty() && stat(file.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& folder) {
  struct stat st {};
  return !folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TDateTime FileDateTime(const std::string& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) return 0;
  return UnixTimeToLocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

int64_t FileSizeOf(const std::string& file) {
  std::string path = file;
  const std::string name = ExtractFileName(file);
  if (HasWildcard(name)) {
    const std::string folder = ExtractFilePath(file);
    std::vector<std::string> found;
    ListFolderFiles(folder, name, false, found);
    if (found.empty()) return 0;
    path = folder + found.front();
  }
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
  return st.st_size;
}

bool MoveFileIfLarger(const std::string& file, const std::string& newName, int64_t limit) {
  if (!FileExists(file) || FileSizeOf(file) < limit) return false;
  // A plain rename would silently replace an older file of the same name; refuse instead.
  if (renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without RENAME_NOREPLACE: a hard link refuses an existing target too.
  if (link(file.c_str(), newName.c_str()) != 0) return false;
  if (unlink(file.c_str()) != 0) {
    unlink(newName.c_str());
    return false;
  }
  return true;
}

int OpenSharedFile(const std::string& file, int access, bool& created) {
  constexpr mode_t shared = 0664;
  const int flags = access | O_NOFOLLOW | O_CLOEXEC;
  // Create-or-open in a loop: the file may be moved aside (rotated) or created by another
  // process between the two attempts.
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd = open(file.c_str(), flags | O_CREAT | O_EXCL, shared);
    if (fd >= 0) {
      created = true;
      fchmod(fd, shared);  // the umask may have taken the group's write bit
      return fd;
    }
    if (errno != EEXIST) return -1;
    fd = open(file.c_str(), flags | O_NONBLOCK);  // a planted pipe must not hang the writer
    if (fd >= 0) {
      struct stat st {};
      if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
      }
      created = false;
      return fd;
    }
    if (errno != ENOENT) return -1;
  }
  return -1;
}

std::string ReadTextFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string result, line;
  bool first = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!first) result += "\r\n";
    result += line;
    first = false;
  }
  return result;
}

bool IsFolderEmpty(const std::string& folder) {
  return FileNamesIn(folder).empty();
}

void ListFolderFiles(const std::string& folder, const std::string& mask, bool withFolder,
                     std::vector<std::string>& list) {
  for (const std::string& name : FileNamesIn(folder))
    if (MatchesMask(name, mask)) list.push_back(withFolder ? JoinPath(folder, name) : name);
}
