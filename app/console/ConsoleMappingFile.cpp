#include "app/console/ConsoleMappingFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/Format.h"
#include "common/StrTable.h"

namespace {

// The file's bytes, at most one beyond the limit; errno's text when it cannot be read. Any
// readable file serves (a pipe: --mapping /dev/stdin).
bool ReadBytes(const std::string& path, std::string& text, std::string& reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) reason = std::strerror(errno);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > kMaxMappingFileBytes) {
      reason = std::strerror(EFBIG);
      break;
    }
  }
  ::close(fd);
  return reason.empty();
}

TStrId FaultMessage(TMappingFile::TFault fault) {
  switch (fault) {
    case TMappingFile::NotUtf8:
      return sMappingFileNotUtf8;
    case TMappingFile::NoHeader:
      return sMappingFileNoHeader;
    case TMappingFile::BadQuotes:
      return sMappingFileBadQuotes;
    case TMappingFile::FieldCount:
      return sMappingFileFieldCount;
    case TMappingFile::EmptyValue:
      return sMappingFileEmptyValue;
    case TMappingFile::NoRows:
      return sMappingFileNoRows;
    case TMappingFile::None:
      break;
  }
  return sNoText;
}

}  // namespace

bool ReadMappingFile(const std::string& path, TFolderMappingRows& rows, std::string& refusal) {
  std::string text, reason;
  if (!ReadBytes(path, text, reason)) {
    refusal = Format(LoadStr(sMappingFileUnreadable), {path, reason});
    return false;
  }
  TMappingFile file = ParseMappingFile(text);
  if (file.Fault != TMappingFile::None) {
    refusal = Format(LoadStr(FaultMessage(file.Fault)), {path, file.Line});
    return false;
  }
  rows = std::move(file.Rows);
  return true;
}
