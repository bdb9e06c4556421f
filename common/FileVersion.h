// Program file versions. Our programs carry their four-part version in an ELF note written by
// the build (cmake/VrlVersionNote.cmake): section ".note.vrl.version", note name "Varnel", type
// 1, description four 16-bit numbers major, minor, release, build in the file's byte order.
#pragma once

#include <cstdint>
#include <string>

struct TFileVerInfo {
  int32_t Major = 0;
  int32_t Minor = 0;
  int32_t Release = 0;
  int32_t Build = 0;
  std::string Text;  // "major.minor.release.build"
};

// The four parts of a file's version note; all 0 when the file is unreadable, is no ELF file or
// carries no note. False in those cases.
bool FileVersionNumbers(const std::string& file, uint16_t& major, uint16_t& minor,
                        uint16_t& release, uint16_t& build);
// The version of a file; 0.0.0.0 when it has none.
TFileVerInfo ReadFileVersion(const std::string& file);
// The first count parts joined with "." (count 1 to 4), each as an unsigned decimal number.
std::string FormatVersion(uint32_t major, uint32_t minor, uint32_t release, uint32_t build,
                          int count);
bool IsEmptyVersion(const TFileVerInfo& version);
// Sets the four numbers to 0 and the text to empty.
void ClearVersion(TFileVerInfo& version);
// 0 when equal; 1 when first is newer (second lower at the first differing part); 2 when first
// is older.
int CompareVersions(const TFileVerInfo& first, const TFileVerInfo& second);
