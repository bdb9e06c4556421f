#include "log/EventLog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <thread>

#include "common/FormatSettings.h"
#include "common/Forms.h"
#include "host/FormatSetup.h"
#include "host/SysFolders.h"
#include "log/EurekaLog.h"
#include "log/HandleExceptions.h"
#include "platform/Platform.h"
#include "platform/engine/AdsComponents.h"
#include "tests/log/LogTestTree.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestObjects.h"

namespace fs = std::filesystem;

namespace {

class TPlainObject : public TObject {
 public:
  std::string ClassName() const override { return "TBrowseForFolderDialog"; }
};

// An installation tree (program in <root>/Utils) with fixed clock, ticks, user and computer.
class EventLogTest : public ::testing::Test, protected TLogTestTree {
 protected:
  void SetUp() override { Lay(); }
  void TearDown() override { ResetProgramUnits(); }
  // Gives the program file this test program's own version note.
  void WithVersionedProgram() {
    fs::copy_file("/proc/self/exe", Sys->ProgramFile, fs::copy_options::overwrite_existing);
    LoadSystemFolderDefaults();
  }
  std::string LogPath(const std::string& name = "VrlChangeDocsPath") const {
    return root + "/Logs/UserLog_" + name + ".TXT";
  }
  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The header line of this run's entries at the fixed clock.
  std::string Header() const {
    return "[08/12/2026 14:02:40:000" + EventLog()->VersionText + " " + EventLog()->SessionTag +
           "  ]\r\n";
  }
};

}  // namespace

TEST_F(EventLogTest, FirstEntryOfARunCarriesHeaderAndSystemBlock) {
  WithVersionedProgram();
  StartAppEventLog();
  LogEvent("Change Docs Path", "c:\\docs\r\nE:\\Shared\\Docs");

  const std::string version =
      std::to_string(VRL_VERSION_MAJOR) + "." + std::to_string(VRL_VERSION_MINOR) + "." +
      std::to_string(VRL_VERSION_RELEASE) + "." + std::to_string(VRL_VERSION_BUILD);
  EXPECT_EQ(EventLog()->VersionText, " v" + version);
  EXPECT_TRUE(std::regex_match(EventLog()->SessionTag,
                               std::regex(" \\*\\* 08122026_140240_3120_[0-9]{1,6}")))
      << EventLog()->SessionTag;
  const std::string expected =
      "[08/12/2026 14:02:40:000 v" + version + " " + EventLog()->SessionTag + "  ]\r\n" +
      "\r\n"
      " FirstWrite 08122026_140240 OS:2 6 1 7601 6.1.0-test  admin CRMSRV01 \r\n"
      "\r\n"
      "TC: 0 5:23:10(512) 19390512\r\n" +
      root + "/Utils/VrlChangeDocsPath\r\n" + root + "/DB\r\n" +
      "\r\n"
      "Sys Vrl \r\n"
      "dddd, d mmmm yyyy dddd, d mmmm yyyy\r\n"
      "dd/mm/yyyy dd/mm/yyyy\r\n"
      "hh:nn:ss hh:nn:ss\r\n"
      "hh:nn hh:nn\r\n"
      "AM AM\r\n"
      "PM PM\r\n"
      "/ /\r\n"
      ": :\r\n"
      ", ,\r\n"
      ". .\r\n"
      "\r\n"
      "Proc_Name=Change Docs Path\r\n"
      "c:\\docs\r\n"
      "E:\\Shared\\Docs\r\n";
  EXPECT_EQ(Read(LogPath()), expected);
}

TEST_F(EventLogTest, LaterEntriesStartWithAnEmptyLineAndNoSystemBlock) {
  StartAppEventLog();
  EXPECT_EQ(EventLog()->VersionText, "");  // a program without a version note
  LogEvent("first", "");
  const size_t firstSize = Read(LogPath()).size();
  TTestForm form(nullptr, "ChangePathForDocsFrm");
  LogEventEx(&form, "second", "text", nullptr);
  const std::string added = Read(LogPath()).substr(firstSize);
  EXPECT_EQ(added, "\r\n" + Header() +
                       "Sender_Class=TChangePathForDocsFrm\r\n"
                       "Sender_Name=ChangePathForDocsFrm\r\n"
                       "Sender_Info= Unit - ChangePathForDocs_Unit. Form - "
                       "ChangePathForDocs_Unit.ChangePathForDocsFrm->TChangePathForDocsFrm\r\n"
                       "Sender_Parent=\r\n"
                       "Proc_Name=second\r\n"
                       "text\r\n");
  EXPECT_EQ(Header().substr(0, 26), "[08/12/2026 14:02:40:000  ");  // no version: two blanks
}

TEST_F(EventLogTest, NameFollowingThePreviousWithThreeSkipsHeaderAndSenderLines) {
  StartAppEventLog();
  LogEvent("SetTokenDataForUser", "");
  const size_t before = Read(LogPath()).size();
  TTestForm form(nullptr, "ChangePathForDocsFrm");
  Exception failure("no such row");
  Ui->Forms = {FormInfo("TChangePathForDocsFrm", "ChangePathForDocsFrm", "Caption")};
  Sys->LastError = 2;
  LogEventEx(&form, "SetTokenDataForUser3", "detail", &failure);
  EXPECT_EQ(Read(LogPath()).substr(before),
            "\r\n"
            "Exception_Class=Exception 2\r\n"
            "Exception_Msg=no such row\r\n"
            "Proc_Name=SetTokenDataForUser3\r\n"
            "detail\r\n"
            "Forms_E=\r\n--\r\n0.TChangePathForDocsFrm ChangePathForDocsFrm 1 Caption\r\n\r\n");
}

TEST_F(EventLogTest, PlainSenderWritesOnlyWhatItHas) {
  StartAppEventLog();
  LogEvent("start", "");
  size_t before = Read(LogPath()).size();
  TPlainObject plain;
  LogEventEx(&plain, "browse", "", nullptr);
  EXPECT_EQ(Read(LogPath()).substr(before),
            "\r\n" + Header() + "Sender_Class=TBrowseForFolderDialog\r\nProc_Name=browse\r\n");
}

TEST_F(EventLogTest, DatabaseErrorsCarryTheirDetailAndLoggableSql) {
  StartAppEventLog();
  TTestModule module("DatPrefDM", "TDatPrefDM", "DatPrefDM_Unit");
  TAdsQuery query(&module, "PrefQry");
  query.SQL = "SELECT * FROM Pref WHERE USERID = :RecId";
  EADSDatabaseError error("Table not found", 7041, 12, "Pref", "USERID", "PrefQry", "DatPrefDM");
  LogEventEx(nullptr, "SetTokenDataForUser", "", &error);
  EXPECT_NE(Read(LogPath()).find("Exception_Class=EADSDatabaseError 0\r\n"
                                 "Exception_Msg=Table not found\r\n"
                                 "EADSDatabaseError = 7041 12 Pref USERID PrefQry DatPrefDM\r\n"
                                 "SQLText:\r\nSELECT * FROM Pref WHERE USERID = :RecId \r\n"
                                 "Proc_Name=SetTokenDataForUser\r\n"),
            std::string::npos);

  query.SQL = "SELECT * FROM sysPm";
  LogEventEx(nullptr, "again", "", &error);
  const std::string log = Read(LogPath());
  EXPECT_NE(log.find("DatPrefDM\r\n \r\nProc_Name=again"), std::string::npos);
  EXPECT_EQ(log.find("sysPm"), std::string::npos);
}

TEST_F(EventLogTest, FullFileIsRotatedAtTheFirstWriteAndARefusedMoveKeepsTheOldFile) {
  fs::create_directories(root + "/Logs");
  std::ofstream(LogPath(), std::ios::binary) << std::string(THandleExceptions::RotateLimit, 'x');
  StartAppEventLog();
  LogEvent("rotated", "");
  const std::string rotated = root + "/Logs/UserLog_VrlChangeDocsPath-08122026-140240.TXT";
  EXPECT_EQ(fs::file_size(rotated), static_cast<uintmax_t>(THandleExceptions::RotateLimit));
  EXPECT_EQ(Read(LogPath()).substr(0, 1), "[");  // a new file without a leading empty line

  // Another full file in the same second: the dated name is taken, so the move is refused and
  // the writer keeps appending to the full file; the earlier rotated file stays untouched.
  StopEventLog();
  std::ofstream(LogPath(), std::ios::binary) << std::string(THandleExceptions::RotateLimit, 'y');
  StartAppEventLog();
  LogEvent("kept", "");
  EXPECT_EQ(Read(rotated), std::string(THandleExceptions::RotateLimit, 'x'));
  const std::string current = Read(LogPath());
  EXPECT_GT(current.size(), static_cast<size_t>(THandleExceptions::RotateLimit));
  EXPECT_NE(current.find("Proc_Name=kept"), std::string::npos);
}

TEST_F(EventLogTest, UnwritableLogsFolderFallsBackToTheProgramFolder) {
  std::ofstream(root + "/Logs") << "a file where the folder should be";
  StartAppEventLog();
  LogEvent("fallback", "");
  EXPECT_NE(Read(root + "/Utils/UserLog_VrlChangeDocsPath.TXT").find("Proc_Name=fallback"),
            std::string::npos);
}

TEST_F(EventLogTest, TheLogAndItsRotatedFilesAreGroupWritableWhateverTheUmask) {
  // The installation's users share a group: the next user must be able to append.
  const mode_t saved = umask(0077);
  StartAppEventLog();
  LogEvent("first", "");
  const auto mode = [](const std::string& file) {
    return fs::status(file).permissions() & fs::perms::all;
  };
  const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::group_write | fs::perms::others_read;
  EXPECT_EQ(mode(LogPath()), shared);
  StopEventLog();
  std::ofstream(LogPath(), std::ios::binary | std::ios::app)
      << std::string(THandleExceptions::RotateLimit, 'x');
  StartAppEventLog();
  LogEvent("second", "");
  umask(saved);
  EXPECT_EQ(mode(root + "/Logs/UserLog_VrlChangeDocsPath-08122026-140240.TXT"), shared);
  EXPECT_EQ(mode(LogPath()), shared);
  EXPECT_NE(Read(LogPath()).find("Proc_Name=second"), std::string::npos);
}

TEST_F(EventLogTest, ALinkAtTheLogsNameIsTreatedLikeAnUnwritableFile) {
  fs::create_directories(root + "/Logs");
  const std::string target = root + "/elsewhere.txt", missing = root + "/never.txt";
  std::ofstream(target, std::ios::binary) << "keep";
  for (const std::string& linked : {target, missing}) {
    fs::remove(LogPath());
    fs::create_symlink(linked, LogPath());
    StartAppEventLog();
    LogEvent("planted " + linked, "");
    StopEventLog();
    EXPECT_EQ(Read(target), "keep");
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_NE(
        Read(root + "/Utils/UserLog_VrlChangeDocsPath.TXT").find("Proc_Name=planted " + linked),
        std::string::npos);
  }
}

TEST_F(EventLogTest, AFileRotatedAwayByAnotherProcessNeverStartsWithABlankLine) {
  // Another process moves the log aside again and again while entries are written: every file
  // starts with its header, whichever moment the move happens at.
  fs::create_directories(root + "/Logs");
  StartAppEventLog();
  std::atomic<bool> done{false};
  std::thread rotator([&] {
    for (int n = 0; !done; ++n) {
      std::error_code ignored;
      fs::rename(LogPath(), LogPath() + "." + std::to_string(n), ignored);
    }
  });
  for (int i = 0; i < 20000; ++i) LogEvent("entry", "");
  done = true;
  rotator.join();
  int files = 0;
  for (const auto& entry : fs::directory_iterator(root + "/Logs")) {
    const std::string text = Read(entry.path().string());
    if (text.empty()) continue;
    ++files;
    EXPECT_EQ(text.substr(0, 1), "[") << entry.path();
  }
  EXPECT_GT(files, 1);
}

TEST_F(EventLogTest, LogNameLosesCharactersAFileNameCannotHold) {
  StartEventLog("Vrl:Change\\Docs|Path");
  LogEvent("named", "");
  EXPECT_TRUE(fs::exists(LogPath("VrlChangeDocsPath")));
  StartEventLog("Other");  // a later start switches the file
  LogEvent("switched", "");
  EXPECT_NE(Read(LogPath("Other")).find("Proc_Name=switched"), std::string::npos);
}

TEST_F(EventLogTest, NothingIsWrittenBeforeTheLogStarts) {
  LogEvent("lost", "");
  EXPECT_FALSE(fs::exists(root + "/Logs/UserLog_VrlChangeDocsPath.TXT"));
  // Nor is an escaped exception before the exception manager is set up: it is shown instead.
  try {
    throw std::runtime_error("shown instead");
  } catch (...) {
    HandleEscapedException();
  }
  EXPECT_EQ(Ui->Errors, std::vector<std::string>{"shown instead"});
}

TEST_F(EventLogTest, EntriesFromSeveralThreadsStayWhole) {
  StartAppEventLog();
  LogEvent("first", "");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i)
        LogEvent("thread" + std::to_string(t), std::string(200, static_cast<char>('a' + t)));
    });
  for (auto& thread : threads) thread.join();
  const std::string log = Read(LogPath());
  for (int t = 0; t < 4; ++t) {
    const std::string entry = "Proc_Name=thread" + std::to_string(t) + "\r\n" +
                              std::string(200, static_cast<char>('a' + t)) + "\r\n";
    size_t count = 0;
    for (size_t at = log.find(entry); at != std::string::npos; at = log.find(entry, at + 1))
      ++count;
    EXPECT_EQ(count, 50u) << t;
  }
}

TEST_F(EventLogTest, LoggedMessageBoxIsShownExceptForEngineError5041) {
  ShowLoggedMessage(std::runtime_error("boom"));
  EXPECT_EQ(Ui->Messages, std::vector<std::string>{"Message registered in log file:"});
  ShowLoggedMessage(EADSDatabaseError("busy", 5041));
  EXPECT_EQ(Ui->Messages.size(), 1u);
}
