#include "common/FileUtils.h"

#include <sys/stat.h>

#include <ctime>
#include <fstream>

#include "common/DateUtils.h"

TDateTime FileDateTime(const std::string& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) return 0;
  std::tm local{};
  if (!localtime_r(&st.st_mtime, &local)) return 0;
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec, static_cast<int>(st.st_mtim.tv_nsec / 1000000));
}

int64_t FileSizeOf(const std::string& file) {
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) return 0;
  return st.st_size;
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
