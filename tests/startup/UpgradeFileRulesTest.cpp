// The two comparison rules on real files with set times, sizes and version notes, and the file
// list they build.
#include "startup/UpgradeFileRules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "tests/startup/GuardTestInstall.h"
#include "tests/support/TempDir.h"

namespace {

// One side of a comparison: a version note (or plain bytes without), a size and a time.
struct TSide {
  bool Exists = true;
  std::optional<std::vector<uint16_t>> Version;  // none: a file that is no ELF file
  size_t Size = 0;
  int Time = 0;
};

void Make(const std::string& file, const TSide& side) {
  if (!side.Exists) return;
  if (side.Version)
    WriteElfWithVersion(file, *side.Version, side.Size);
  else
    std::ofstream(file, std::ios::binary) << std::string(side.Size ? side.Size : 10, 'x');
  SetFileTime(file, side.Time);
}

struct TRuleCase {
  const char* What;
  TSide Local;
  TSide Source;
  bool Newer;
};

const std::vector<uint16_t> V1{1, 0, 0, 7};
const std::vector<uint16_t> V2{1, 2, 0, 0};
const TSide Missing{false, std::nullopt, 0, 0};

const TRuleCase VersionCases[] = {
    {"same time and size beat a higher version", {true, V1, 512, 0}, {true, V2, 512, 0}, false},
    {"same time, local larger", {true, V1, 600, 0}, {true, V2, 512, 0}, false},
    {"same time, local smaller", {true, V1, 400, 0}, {true, V2, 512, 0}, true},
    {"other time, higher version", {true, V1, 512, 0}, {true, V2, 512, 60}, true},
    {"other time, lower version", {true, V2, 512, 0}, {true, V1, 512, 60}, false},
    {"other time, same version", {true, V1, 512, 0}, {true, V1, 600, 60}, false},
    {"higher build only", {true, V1, 512, 0}, {true, {{1, 0, 0, 8}}, 512, 60}, true},
    {"source without a version", Missing, {true, std::nullopt, 512, 60}, false},
    {"source with an empty version", Missing, {true, {{0, 0, 0, 0}}, 512, 60}, false},
    {"local without a version", {true, std::nullopt, 512, 0}, {true, V1, 512, 60}, true},
    {"local missing", Missing, {true, V1, 512, 0}, true},
    {"source missing", {true, V1, 512, 0}, Missing, false},
};

const TRuleCase DateCases[] = {
    {"source later", {true, std::nullopt, 10, 0}, {true, std::nullopt, 10, 1}, true},
    {"source earlier", {true, std::nullopt, 10, 5}, {true, std::nullopt, 99, 1}, false},
    {"same time", {true, std::nullopt, 10, 5}, {true, std::nullopt, 99, 5}, false},
    {"local missing", Missing, {true, std::nullopt, 10, 0}, true},
    {"source missing", {true, std::nullopt, 10, 0}, Missing, false},
};

}  // namespace

// Lays out each case's two files in a fresh folder and asks the rule.
template <size_t N>
void CheckRule(bool (*rule)(const std::string&, const std::string&), const TRuleCase (&cases)[N]) {
  for (const TRuleCase& c : cases) {
    TTempDir tmp;
    const std::string local = (tmp.Path() / "local").string();
    const std::string source = (tmp.Path() / "source").string();
    Make(local, c.Local);
    Make(source, c.Source);
    EXPECT_EQ(rule(local, source), c.Newer) << c.What;
  }
}

TEST(UpgradeFileRules, TheVersionRule) {
  CheckRule(IsNewerByVersion, VersionCases);
}

TEST(UpgradeFileRules, TheDateRule) {
  CheckRule(IsNewerByDate, DateCases);
}

TEST(UpgradeFileRules, TheFileListPutsNewEntriesInFrontAndNeverTwice) {
  std::string list;
  EXPECT_TRUE(AddToFileList(list, " Ansi.chr "));
  EXPECT_EQ(list, "Ansi.chr*");
  EXPECT_TRUE(AddToFileList(list, FileListEntry("libeay32.so", "libeay32w.so")));
  EXPECT_EQ(list, "libeay32.so|<VrlUpgrge_CopyFiles>|libeay32w.so*Ansi.chr*");
  EXPECT_FALSE(AddToFileList(list, "ANSI.CHR"));
  EXPECT_FALSE(AddToFileList(list, "libeay32.so|<VrlUpgrge_CopyFiles>|LIBEAY32W.so"));
  // A name inside another entry is no duplicate.
  EXPECT_TRUE(AddToFileList(list, "libeay32.so"));
  EXPECT_EQ(list, "libeay32.so*libeay32.so|<VrlUpgrge_CopyFiles>|libeay32w.so*Ansi.chr*");
  EXPECT_EQ(FileListEntry("VrlDbEng.so", "VRLDBENG.SO"), "VrlDbEng.so");
}
