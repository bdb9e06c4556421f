#include "common/FileVersion.h"

#include "common/ElfNotes.h"
#include "common/StrUtils.h"

namespace {
constexpr uint32_t kVersionNoteType = 1;
}

bool FileVersionNumbers(const std::string& file, uint16_t& major, uint16_t& minor,
                        uint16_t& release, uint16_t& build) {
  major = minor = release = build = 0;
  std::vector<uint16_t> parts;
  if (!ReadElfNote16(file, "Varnel", kVersionNoteType, parts) || parts.size() < 4) return false;
  major = parts[0];
  minor = parts[1];
  release = parts[2];
  build = parts[3];
  return true;
}

TFileVerInfo ReadFileVersion(const std::string& file) {
  uint16_t major = 0, minor = 0, release = 0, build = 0;
  FileVersionNumbers(file, major, minor, release, build);
  TFileVerInfo info{major, minor, release, build, {}};
  info.Text = FormatVersion(major, minor, release, build, 4);
  return info;
}

std::string FormatVersion(uint32_t major, uint32_t minor, uint32_t release, uint32_t build,
                          int count) {
  std::string all = std::to_string(major) + "*" + std::to_string(minor) + "*" +
                    std::to_string(release) + "*" + std::to_string(build);
  std::string result;
  for (int i = 0; i < count; ++i) {
    if (i > 0) result += ".";
    result += SplitOff(all, "*");
  }
  return result;
}

bool IsEmptyVersion(const TFileVerInfo& version) {
  return version.Major == 0 && version.Minor == 0 && version.Release == 0 && version.Build == 0;
}

void ClearVersion(TFileVerInfo& version) {
  version.Major = version.Minor = version.Release = version.Build = 0;
  version.Text.clear();
}

int CompareVersions(const TFileVerInfo& first, const TFileVerInfo& second) {
  const int32_t a[] = {first.Major, first.Minor, first.Release, first.Build};
  const int32_t b[] = {second.Major, second.Minor, second.Release, second.Build};
  for (int i = 0; i < 4; ++i) {
    if (a[i] == b[i]) continue;
    return b[i] < a[i] ? 1 : 2;
  }
  return 0;
}
