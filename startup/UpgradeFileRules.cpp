#include "startup/UpgradeFileRules.h"

#include <filesystem>

#include "common/FileVersion.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"

namespace fs = std::filesystem;

namespace {

bool IsFile(const std::string& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec);
}

// The modification time; the earliest time there is when the file is missing or unreadable.
fs::file_time_type ModifiedAt(const std::string& file) {
  std::error_code ec;
  const fs::file_time_type time = fs::last_write_time(file, ec);
  return ec ? fs::file_time_type::min() : time;
}

uintmax_t SizeOf(const std::string& file) {
  std::error_code ec;
  const uintmax_t size = fs::file_size(file, ec);
  return ec ? 0 : size;
}

}  // namespace

bool IsNewerByVersion(const std::string& localFile, const std::string& sourceFile) {
  if (!IsFile(sourceFile)) return false;
  if (IsFile(localFile) && ModifiedAt(localFile) == ModifiedAt(sourceFile) &&
      SizeOf(localFile) >= SizeOf(sourceFile))
    return false;
  const TFileVerInfo source = ReadFileVersion(sourceFile);
  return !IsEmptyVersion(source) && CompareVersions(ReadFileVersion(localFile), source) == 2;
}

bool IsNewerByDate(const std::string& localFile, const std::string& sourceFile) {
  if (!IsFile(sourceFile)) return false;
  return ModifiedAt(sourceFile) > ModifiedAt(localFile);
}

std::string FileListEntry(const std::string& localName, const std::string& sourceName) {
  if (UpperCase(localName) == UpperCase(sourceName)) return localName;
  return localName + CopyFilesMarker + sourceName;
}

bool AddToFileList(std::string& fileList, const std::string& entry) {
  const std::string wanted = UpperCase(Trim(entry));
  std::string rest = fileList;
  while (!Trim(rest).empty())
    if (UpperCase(Trim(SplitOff(rest, FileListSeparator))) == wanted) return false;
  fileList = Trim(entry) + FileListSeparator + Trim(fileList);
  return true;
}
