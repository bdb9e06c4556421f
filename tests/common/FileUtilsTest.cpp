#include "common/FileUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/FormatSettings.h"
#include "host/FileChecks.h"
#include "host/FormatSetup.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/TempDir.h"

namespace {

class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto ui = std::make_unique<TFakeUi>();
    ui_ = ui.get();
    Platform().SetUi(std::move(ui));
    Platform().SetSystem(std::make_unique<TFakeSystem>());
    InitFormatSettings();
  }
  void TearDown() override { ResetProgramUnits(); }

  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (tmp_.Path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string Dir() const { return tmp_.Path().string(); }

  TTempDir tmp_;
  TFakeUi* ui_ = nullptr;
};

}  // namespace

TEST_F(FileUtilsTest, MoveFileIfLargerNeverReplacesAnExistingTarget) {
  const std::string log = Write("UserLog_A.TXT", std::string(100, 'x'));
  const std::string older = Write("UserLog_A-old.TXT", "older rotated log");
  EXPECT_FALSE(MoveFileIfLarger(log, older, 50));
  EXPECT_EQ(ReadTextFile(older), "older rotated log");
  EXPECT_EQ(FileSizeOf(log), 100);

  const std::string fresh = Dir() + "/UserLog_A-new.TXT";
  EXPECT_FALSE(MoveFileIfLarger(log, fresh, 101));  // below the limit: stays
  EXPECT_TRUE(FileExists(log));
  EXPECT_TRUE(MoveFileIfLarger(log, fresh, 100));  // at the limit: moves
  EXPECT_FALSE(FileExists(log));
  EXPECT_EQ(FileSizeOf(fresh), 100);
}

TEST_F(FileUtilsTest, DatedFileNamePutsTheTimeBeforeTheExtension) {
  // The fake clock stands at 08/12/2026 14:02:40.
  EXPECT_EQ(DatedFileName("/x/Logs/UserLog_A.TXT", "ddmmyyyy-hhmmss"),
            "/x/Logs/UserLog_A-08122026-140240.TXT");
  EXPECT_EQ(DatedFileName("/x/plain", "yyyy"), "/x/plain-2026");
}

TEST_F(FileUtilsTest, CheckFileExistsShowsTheNotFoundText) {
  const std::string present = Write("a.txt", "a");
  EXPECT_TRUE(CheckFileExists(present, true));
  EXPECT_FALSE(CheckFileExists(Dir() + "/b.txt", false));
  EXPECT_TRUE(ui_->Errors.empty());
  EXPECT_FALSE(CheckFileExists(Dir() + "/b.txt", true));
  EXPECT_FALSE(CheckFileExists(Dir(), true, "no folders"));  // a folder is no file
  ASSERT_EQ(ui_->Errors.size(), 2u);
  EXPECT_EQ(ui_->Errors[0], "file not found\r\n" + Dir() + "/b.txt");
  EXPECT_EQ(ui_->Errors[1], "no folders");
}

TEST_F(FileUtilsTest, SizesTimesAndTextOfMissingFilesAreEmpty) {
  EXPECT_EQ(FileSizeOf(Dir() + "/none"), 0);
  EXPECT_EQ(FileDateTime(Dir() + "/none"), 0);
  EXPECT_EQ(ReadTextFile(Dir() + "/none"), "");
  EXPECT_EQ(FileSizeOf(Dir()), 0);
  Write("b.dat", "12345");
  EXPECT_EQ(FileSizeOf(Dir() + "/*.DAT"), 5);  // first entry found for a mask
  EXPECT_GT(FileDateTime(Dir() + "/b.dat"), 40000);
}

TEST_F(FileUtilsTest, ReadTextFileJoinsLinesWithCrLf) {
  EXPECT_EQ(ReadTextFile(Write("t.txt", "one\r\ntwo\nthree\n")), "one\r\ntwo\r\nthree");
}

TEST_F(FileUtilsTest, FolderListingsSkipSubfolders) {
  EXPECT_TRUE(IsFolderEmpty(Dir()));
  std::filesystem::create_directory(tmp_.Path() / "sub.txt");
  EXPECT_TRUE(IsFolderEmpty(Dir()));
  EXPECT_TRUE(IsFolderEmpty(Dir() + "/missing"));
  Write("b.TXT", "");
  Write("a.txt", "");
  Write("c.log", "");
  EXPECT_FALSE(IsFolderEmpty(Dir()));
  std::vector<std::string> list{"kept"};
  ListFolderFiles(Dir(), "*.txt", false, list);
  EXPECT_EQ(list, (std::vector<std::string>{"kept", "a.txt", "b.TXT"}));
  list.clear();
  ListFolderFiles(Dir() + "/", "?.log", true, list);
  EXPECT_EQ(list, (std::vector<std::string>{Dir() + "/c.log"}));
  list.clear();
  ListFolderFiles(Dir(), "*.*", false, list);
  EXPECT_EQ(list.size(), 3u);
}
