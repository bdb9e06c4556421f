#include "log/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "common/FileUtils.h"

TLogFile::~TLogFile() {
  Close();
}

bool TLogFile::Open(const std::string& path) {
  Close();
  bool created = false;
  fd_ = OpenSharedFile(path, O_WRONLY | O_APPEND, created);
  existed_ = fd_ >= 0 && !created;
  return fd_ >= 0;
}

void TLogFile::Write(const std::string& text) {
  size_t done = 0;
  while (fd_ >= 0 && done < text.size()) {
    const ssize_t n = write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

void TLogFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}
