#include "common/FileVersion.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/support/TempDir.h"

namespace {
TFileVerInfo Version(int a, int b, int c, int d) {
  return {a, b, c, d, FormatVersion(a, b, c, d, 4)};
}
std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
}  // namespace

TEST(FileVersion, TheBuildWritesTheProjectVersionIntoEveryProgram) {
  const TFileVerInfo v = ReadFileVersion("/proc/self/exe");
  EXPECT_EQ(v.Major, VRL_VERSION_MAJOR);
  EXPECT_EQ(v.Minor, VRL_VERSION_MINOR);
  EXPECT_EQ(v.Release, VRL_VERSION_RELEASE);
  EXPECT_EQ(v.Build, VRL_VERSION_BUILD);
  EXPECT_EQ(v.Text, std::to_string(VRL_VERSION_MAJOR) + "." + std::to_string(VRL_VERSION_MINOR) +
                        "." + std::to_string(VRL_VERSION_RELEASE) + "." +
                        std::to_string(VRL_VERSION_BUILD));
  EXPECT_FALSE(IsEmptyVersion(v));
}

TEST(FileVersion, FilesWithoutANoteGiveZero) {
  TTempDir tmp;
  const std::string exe = ReadAll("/proc/self/exe");
  const std::string paths[] = {(tmp.Path() / "text.txt").string(), (tmp.Path() / "cut").string(),
                               (tmp.Path() / "missing").string()};
  std::ofstream(paths[0]) << "plain text, no ELF";
  std::ofstream(paths[1], std::ios::binary) << exe.substr(0, 4096);  // section headers cut off
  for (const std::string& path : paths) {
    uint16_t a = 9, b = 9, c = 9, d = 9;
    EXPECT_FALSE(FileVersionNumbers(path, a, b, c, d)) << path;
    EXPECT_EQ(a + b + c + d, 0) << path;
    const TFileVerInfo v = ReadFileVersion(path);
    EXPECT_TRUE(IsEmptyVersion(v));
    EXPECT_EQ(v.Text, "0.0.0.0");
  }
}

TEST(FileVersion, ANoteUnderAnotherNameDoesNotCount) {
  TTempDir tmp;
  std::string exe = ReadAll("/proc/self/exe");
  // The note header (namesz 7, descsz 8, type 1) and its name, little-endian.
  const std::string note("\x07\0\0\0\x08\0\0\0\x01\0\0\0Varnel\0", 19);
  const size_t at = exe.find(note);
  ASSERT_NE(at, std::string::npos);
  exe[at + 12] = 'W';
  const std::string path = (tmp.Path() / "renamed").string();
  std::ofstream(path, std::ios::binary) << exe;
  EXPECT_TRUE(IsEmptyVersion(ReadFileVersion(path)));
}

TEST(FileVersion, FormatVersionTakesCountParts) {
  EXPECT_EQ(FormatVersion(1, 0, 0, 7, 4), "1.0.0.7");
  EXPECT_EQ(FormatVersion(1, 0, 0, 7, 2), "1.0");
  EXPECT_EQ(FormatVersion(11, 2, 0, 4, 1), "11");
  EXPECT_EQ(FormatVersion(4294967295u, 0, 0, 0, 1), "4294967295");
}

TEST(FileVersion, CompareVersionsNumerically) {
  EXPECT_EQ(CompareVersions(Version(11, 2, 0, 4), Version(11, 10, 0, 0)), 2);
  EXPECT_EQ(CompareVersions(Version(11, 10, 0, 0), Version(11, 2, 0, 4)), 1);
  EXPECT_EQ(CompareVersions(Version(1, 0, 0, 7), Version(1, 0, 0, 7)), 0);
  EXPECT_EQ(CompareVersions(Version(1, 0, 0, 8), Version(1, 0, 0, 7)), 1);
  EXPECT_EQ(CompareVersions(Version(2, 0, 0, 0), Version(1, 9, 9, 9)), 1);
}

TEST(FileVersion, ClearVersionEmptiesEverything) {
  TFileVerInfo v = Version(1, 2, 3, 4);
  ClearVersion(v);
  EXPECT_TRUE(IsEmptyVersion(v));
  EXPECT_EQ(v.Text, "");
}
