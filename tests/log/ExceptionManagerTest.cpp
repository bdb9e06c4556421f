#include "log/ExceptionManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <thread>

#include "common/FormatSettings.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "platform/EADSDatabaseError.h"
#include "platform/Platform.h"
#include "tests/log/LogTestTree.h"

namespace fs = std::filesystem;

namespace {

const std::string kGeneral2 = "UserLog_VarnelSystem2.TXT";
const std::string kGeneral3 = "UserLog_VarnelSystem3.TXT";
const std::string kProgram2 = "UserLog_VarnelSystem2_VrlChangeDocsPath.TXT";
const std::string kProgram3 = "UserLog_VarnelSystem3_VrlChangeDocsPath.TXT";
const std::string kBox = "Message registered in log file:";

[[gnu::noinline]] void Fail(const std::string& message) {
  throw std::runtime_error(message);
}

// An installation tree with the event log started and the manager created, as the programs have
// them when the window hands over its component.
class ExceptionManagerTest : public ::testing::Test, protected TLogTestTree {
 protected:
  void SetUp() override {
    Lay();
    fs::create_directories(root + "/DBSys");
    StartAppEventLog();
    CreateHEMgr();
  }
  void TearDown() override {
    FreeHEMgr();
    StopEventLog();
    CurrentEurekaLogOptions() = TEurekaLogOptions{};
    Platform().Reset();
  }
  void Marker(const std::string& name, const std::string& content = {}) {
    std::ofstream(root + "/DBSys/" + name, std::ios::binary) << content;
  }
  void NoMarker(const std::string& name) { fs::remove(root + "/DBSys/" + name); }
  std::string Log() const {
    std::ifstream in(root + "/Logs/UserLog_VrlChangeDocsPath.TXT", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The log written by action.
  template <typename Action>
  std::string LoggedBy(Action action) {
    const size_t before = Log().size();
    action();
    return Log().substr(before);
  }
  // A runtime_error escaping an event handler, as the programs hand it over.
  static void Escape(const std::string& message) {
    try {
      Fail(message);
    } catch (...) {
      HandleEscapedException();
    }
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  TEurekaLog component{nullptr, "EurekaLog1"};
};

TEST_F(ExceptionManagerTest, NoMarkerLogsTheCallStackAndThreadAndTellsTheUser) {
  InitEurekaLog(&component);
  EXPECT_EQ(Log().find("InitEurekaLog"), std::string::npos);  // no start entry at level 1

  const std::string entry = LoggedBy([] { Escape("boom"); });
  EXPECT_NE(entry.find("Exception_Class=std::runtime_error "), std::string::npos) << entry;
  EXPECT_NE(entry.find("Exception_Msg=boom\r\nProc_Name=GenUnHndExp 1\r\n\r\n\r\n"),
            std::string::npos)
      << entry;
  // One "<source> - <line>" line per frame, this test's own source among them, then the
  // thread lines; no signal, so no "Win32ExceptionRecord:" line.
  EXPECT_TRUE(std::regex_search(entry, std::regex("\r\n[^\r\n]*tests/log/ExceptionManagerTest"
                                                  "\\.cpp - [1-9][0-9]*\r\n")))
      << entry;
  EXPECT_NE(entry.find("\r\n\r\nExceptionThreadID: 3120\r\n\r\n\r\nForms_E="), std::string::npos)
      << entry;
  EXPECT_EQ(entry.find("Win32ExceptionRecord"), std::string::npos);
  EXPECT_EQ(entry.find("Sender_Class"), std::string::npos);
  EXPECT_EQ(Ui->Messages, std::vector<std::string>{kBox});
}

TEST_F(ExceptionManagerTest, LevelIsReadAgainAtEveryNotification) {
  InitEurekaLog(&component);
  struct Case {
    std::vector<std::string> markers;
    int level;
  };
  const Case cases[] = {
      {{}, 1},
      {{kGeneral2}, 2},
      {{kProgram2}, 2},
      {{"UserLog_VarnelSystem2_OtherTool.TXT", "UserLog_VarnelSystem3_OtherTool.TXT"}, 1},
      {{kGeneral2, kProgram3}, 3},
      {{kGeneral3}, 3},
  };
  for (const Case& c : cases) {
    for (const std::string& m : c.markers) Marker(m);
    const std::string entry = LoggedBy([] { Escape("again"); });
    EXPECT_EQ(Count(entry, "Proc_Name=GenUnHndExp "), 1) << entry;
    EXPECT_NE(entry.find("Proc_Name=GenUnHndExp " + std::to_string(c.level) + "\r\n"),
              std::string::npos)
        << c.level << entry;
    // Level 1 the stack lines, levels 2 and 3 the component's report.
    EXPECT_EQ(entry.find("Exception class: std::runtime_error\r\nMessage: again\r\n") !=
                  std::string::npos,
              c.level > 1)
        << entry;
    for (const std::string& m : c.markers) NoMarker(m);
  }
  // A level-3 marker made after the start does not turn on the handled-exception reports.
  Marker(kGeneral3);
  const std::string handled = LoggedBy([] {
    const std::runtime_error caught("caught");
    LogEventEx(nullptr, "Mine", "", &caught);
  });
  EXPECT_EQ(handled.find("GenHndExp"), std::string::npos) << handled;
}

TEST_F(ExceptionManagerTest, LevelTwoLogsTheStartAndTheReport) {
  Marker(kGeneral2);
  const std::string start = LoggedBy([this] { InitEurekaLog(&component); });
  EXPECT_NE(start.find("Proc_Name=***** InitEurekaLog ***** \r\n2\r\n"), std::string::npos)
      << start;

  const std::string entry = LoggedBy([] { Escape("reported"); });
  EXPECT_NE(entry.find("Proc_Name=GenUnHndExp 2\r\n\r\nException class: std::runtime_error\r\n"
                       "Message: reported\r\nThread: 3120\r\nProgram: " +
                       root + "/Utils/VrlChangeDocsPath"),
            std::string::npos)
      << entry;
  EXPECT_TRUE(
      std::regex_search(entry, std::regex("\r\nCall stack:(\r\n  [^\r\n]*)*\r\n  [^\r\n]*tests/log/"
                                          "ExceptionManagerTest\\.cpp - [1-9][0-9]* [^\r\n]*Fail")))
      << entry;
  EXPECT_NE(entry.find("\r\nModules:\r\n  /"), std::string::npos);
  EXPECT_NE(entry.find("\r\n\r\nExceptionThreadID: 3120\r\n"), std::string::npos);
  EXPECT_EQ(CurrentEurekaLogOptions().BehaviourOptions, boNone);  // level 2 changes no option
}

TEST_F(ExceptionManagerTest, LevelThreeReportsHandledExceptionsWithoutABox) {
  // The program-specific marker is the settings file when both exist.
  Marker(kGeneral3, "[GEN]\r\nFreezeTimeout=50\r\n");
  Marker(kProgram3, "[GEN]\r\nFreezeTimeout=300\r\n");
  const std::string start = LoggedBy([this] { InitEurekaLog(&component); });
  EXPECT_NE(start.find("Proc_Name=***** InitEurekaLog ***** \r\n3\r\n"), std::string::npos);
  const TEurekaLogOptions& options = CurrentEurekaLogOptions();
  EXPECT_TRUE(options.BehaviourOptions & boHandleHandledExceptions);
  EXPECT_TRUE(options.FreezeActivate);
  EXPECT_EQ(options.FreezeTimeout, 300);

  const std::string handled = LoggedBy([] {
    const EADSDatabaseError caught("Table not found", 7041);
    LogEventEx(nullptr, "SetTokenDataForUser", "", &caught);
  });
  EXPECT_NE(handled.find("Proc_Name=SetTokenDataForUser\r\n"), std::string::npos);
  EXPECT_EQ(Count(handled, "Proc_Name=GenHndExp 3\r\n"), 1) << handled;
  EXPECT_NE(handled.find("Message: Table not found\r\n"), std::string::npos);
  EXPECT_TRUE(Ui->Messages.empty());

  // The unhandled one at level 3 is told, and not reported again as handled while it is logged.
  const std::string unhandled = LoggedBy([] { Escape("late"); });
  EXPECT_EQ(Count(unhandled, "Proc_Name=GenUnHndExp 3\r\n"), 1);
  EXPECT_EQ(unhandled.find("GenHndExp"), std::string::npos);
  EXPECT_EQ(Ui->Messages, std::vector<std::string>{kBox});
}

TEST_F(ExceptionManagerTest, FreezeTimeoutDefaultsTo120) {
  for (const std::string& content :
       {std::string(), std::string("[GEN]\r\nFreezeTimeout=soon\r\n")}) {
    CurrentEurekaLogOptions() = TEurekaLogOptions{};
    Marker(kGeneral3, content);
    InitEurekaLog(&component);
    EXPECT_EQ(CurrentEurekaLogOptions().FreezeTimeout, 120) << content;
  }
}

TEST_F(ExceptionManagerTest, ObjectsThatAreNoExceptionsAreLoggedWithoutExceptionLinesOrBox) {
  InitEurekaLog(&component);
  const std::string entry = LoggedBy([] {
    try {
      throw 42;
    } catch (...) {
      HandleEscapedException();
    }
  });
  EXPECT_NE(entry.find("Proc_Name=GenUnHndExp 1\r\n"), std::string::npos) << entry;
  EXPECT_EQ(entry.find("Exception_"), std::string::npos);
  EXPECT_EQ(entry.find("Forms_E="), std::string::npos);
  EXPECT_TRUE(Ui->Messages.empty());
}

TEST_F(ExceptionManagerTest, EngineError5041AndLibraryModulesGetNoBox) {
  InitEurekaLog(&component);
  const std::string entry = LoggedBy([] {
    try {
      throw EADSDatabaseError("busy", 5041);
    } catch (...) {
      HandleEscapedException();
    }
  });
  EXPECT_NE(entry.find("Exception_Msg=busy"), std::string::npos);
  EXPECT_TRUE(Ui->Messages.empty());

  Sys->ModulePath = root + "/Utils/VrlTools.so";
  LoadSystemFolderDefaults();
  ASSERT_TRUE(IsLibraryModule());
  Escape("inside a library");
  EXPECT_NE(Log().find("Exception_Msg=inside a library"), std::string::npos);
  EXPECT_TRUE(Ui->Messages.empty());
}

TEST_F(ExceptionManagerTest, WithoutAComponentTheManagerMakesAndFreesItsOwn) {
  InitEurekaLog(nullptr);
  ASSERT_NE(HEMgr->OwnCaptureComponent, nullptr);
  // The test's own component was made first and stays the one that reports.
  EXPECT_EQ(ActiveEurekaLog(), &component);
  EXPECT_EQ(HEMgr->DiagMarker2, root + "/DBSys/" + kGeneral2);
  EXPECT_EQ(HEMgr->DiagMarker3Program, root + "/DBSys/" + kProgram3);
  FreeHEMgr();
  EXPECT_EQ(HEMgr, nullptr);
}

TEST(ExceptionManagerTexts, StackAndThreadLines) {
  TEurekaExceptionRecord rec;
  rec.ThreadID = 4000000000u;
  rec.CallStack = {{"app/A.cpp", 12, "f"}, {"", 0, "libc"}, {"", 7, ""}, {"b.cpp", 0, ""}};
  EXPECT_EQ(THEMgr::CallStackToText(rec.CallStack), "\r\napp/A.cpp - 12\r\n - 7\r\nb.cpp - 0");
  EXPECT_EQ(THEMgr::CallStackToText({}), "");
  EXPECT_EQ(THEMgr::ExceptionThreadText(rec), "\r\nExceptionThreadID: 4000000000\r\n");
  rec.ExceptionCode = 11;
  rec.LogText = "report";
  EXPECT_EQ(THEMgr::BuildExceptionText(2, rec),
            "report\r\n\r\nExceptionThreadID: 4000000000\r\nWin32ExceptionRecord: 11\r\n");
  EXPECT_EQ(THEMgr::BuildExceptionText(1, rec).substr(0, 16), "\r\napp/A.cpp - 12");

  struct Policy {
    int level;
    const char* name;
    bool logged, told;
  };
  for (const Policy& p :
       {Policy{1, "GenUnHndExp", true, true}, Policy{3, "GenUnHndExp", true, true},
        Policy{2, "GenHndExp", false, false}, Policy{3, "GenHndExp", true, false},
        Policy{3, "Other", false, false}}) {
    const TExceptionPolicy policy = THEMgr::GetExceptionPolicy(p.level, p.name);
    EXPECT_EQ(policy.Logged, p.logged) << p.level << p.name;
    EXPECT_EQ(policy.Told, p.told) << p.level << p.name;
  }
}

TEST_F(ExceptionManagerTest, AFrozenLoopIsReportedOnceAndTheProgramGoesOn) {
  Marker(kGeneral3, "[GEN]\r\nFreezeTimeout=1\r\n");
  InitEurekaLog(&component);
  EurekaUiLoopTurned();  // the loop turned once, then stands still
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (Log().find("Exception class: Freeze") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::string log = Log();
  EXPECT_EQ(Count(log, "Exception class: Freeze\r\n"), 1) << log;
  EXPECT_NE(log.find("Proc_Name=GenUnHndExp 3\r\n"), std::string::npos);
  EXPECT_NE(log.find("Message: the user interface did not respond for 1 seconds"),
            std::string::npos);
  EXPECT_TRUE(Ui->Messages.empty());
}

}  // namespace
