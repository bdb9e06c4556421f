// Faults forced in the crash-test builds of the programs (the test-only trigger, VRL_TEST_CRASH),
// put in a demo installation in the programs' place: each leaves one readable log entry naming
// our sources with their lines, and the process ends the way the fault ends it.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/support/CrmTestInstall.h"
#include "tests/support/DemoInstallation.h"
#include "tests/support/RunProgram.h"

namespace {

namespace fs = std::filesystem;

class CrashPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"VrlChangeDocsPath", "VrlChangeDocsPathCli"})
      fs::copy_file(BuiltProgram(std::string(program) + "-crashtest"), demo_.Utils() / program,
                    fs::copy_options::overwrite_existing);
  }
  void TearDown() override { unsetenv("VRL_TEST_CRASH"); }
  TProgramRun Run(const std::string& program, const std::string& fault) {
    setenv("VRL_TEST_CRASH", fault.c_str(), 1);
    return RunProgram((demo_.Utils() / program).string(),
                      {"--old", "C:\\VarnelDocs", "--new", "E:\\Moved", "--yes"});
  }
  std::string Log(const std::string& program) const {
    return TCrmTestInstall::ReadBytes(
        (demo_.Root() / "Logs" / ("UserLog_" + program + ".TXT")).string());
  }
  void Marker(const std::string& name) const { std::ofstream(demo_.Root() / "DBSys" / name) << ""; }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  TDemoInstallation demo_{{"--documents", "3", "--cards", "1"}};
};

// "<source> - <line>" naming one of our files.
bool HasStackLine(const std::string& log, const std::string& source) {
  return std::regex_search(log, std::regex("\r\n[^\r\n]*" + source + " - [1-9][0-9]*\r\n"));
}

TEST_F(CrashPathsTest, EachFaultOfTheConsoleProgramLeavesOneEntryWithOurSourceLines) {
  struct Case {
    const char* fault;
    int exitCode;
    const char* source;   // a source the stack must name
    const char* present;  // a text the entry must hold
    bool told;            // "Message registered in log file:" on standard error
  };
  const Case cases[] = {
      {"segv", 128 + SIGSEGV, "tests/support/TestCrashTrigger\\.cpp",
       "Win32ExceptionRecord: 11\r\n", false},
      {"abort", 128 + SIGABRT, "tests/support/TestCrashTrigger\\.cpp",
       "Win32ExceptionRecord: 6\r\n", false},
      {"noexcept", 128 + SIGABRT, "tests/support/TestCrashTrigger\\.cpp",
       "Exception_Msg=thrown through noexcept\r\n", true},
      {"throw", 2, "tests/support/TestCrashTrigger\\.cpp",
       "Exception_Msg=test fault from a handler\r\n", true},
      {"throwint", 2, "tests/support/TestCrashTrigger\\.cpp", "\r\nExceptionThreadID: ", false},
  };
  for (const Case& c : cases) {
    fs::remove(demo_.Root() / "Logs" / "UserLog_VrlChangeDocsPathCli.TXT");
    const TProgramRun run = Run("VrlChangeDocsPathCli", c.fault);
    EXPECT_EQ(run.ExitCode, c.exitCode) << c.fault << run.Err;
    const std::string log = Log("VrlChangeDocsPathCli");
    EXPECT_EQ(Count(log, "Proc_Name=GenUnHndExp 1\r\n"), 1) << c.fault << log;
    EXPECT_TRUE(HasStackLine(log, c.source)) << c.fault << log;
    EXPECT_NE(log.find(c.present), std::string::npos) << c.fault << log;
    EXPECT_EQ(run.Err.find("Message registered in log file:") != std::string::npos, c.told)
        << c.fault << run.Err;
    // Nothing is replaced after a fault.
    EXPECT_EQ(log.find("Proc_Name=Change Docs Path"), std::string::npos) << c.fault;
  }
  // An object that is not an exception: no exception lines.
  EXPECT_EQ(Log("VrlChangeDocsPathCli").find("Exception_Class="), std::string::npos);
}

TEST_F(CrashPathsTest, AtLevelTwoASignalLeavesTheReport) {
  Marker("UserLog_VarnelSystem2_VrlChangeDocsPathCli.TXT");
  const TProgramRun run = Run("VrlChangeDocsPathCli", "segv");
  EXPECT_EQ(run.ExitCode, 128 + SIGSEGV);
  const std::string log = Log("VrlChangeDocsPathCli");
  EXPECT_NE(log.find("Proc_Name=***** InitEurekaLog ***** \r\n2\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Proc_Name=GenUnHndExp 2\r\n\r\nException class: SIGSEGV\r\n"
                     "Message: Segmentation fault\r\nThread: "),
            std::string::npos)
      << log;
  const std::string program = (demo_.Utils() / "VrlChangeDocsPathCli").string();
  EXPECT_NE(log.find("\r\nProgram: " + program + " 1.0.0.1\r\nCall stack:\r\n  "),
            std::string::npos)
      << log;
  EXPECT_TRUE(std::regex_search(
      log, std::regex("\r\n  [^\r\n]*tests/support/TestCrashTrigger\\.cpp - [1-9][0-9]* [^\r\n]*"
                      "RunTestCrashTrigger")))
      << log;
  EXPECT_NE(log.find("\r\nModules:\r\n  " + program + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("Win32ExceptionRecord: 11\r\n"), std::string::npos);
}

TEST_F(CrashPathsTest, TheWindowProgramLogsASignalAndEndsWithIt) {
  const TProgramRun run = Run("VrlChangeDocsPath", "segv");
  EXPECT_EQ(run.ExitCode, 128 + SIGSEGV) << run.Err;
  const std::string log = Log("VrlChangeDocsPath");
  EXPECT_EQ(Count(log, "Proc_Name=GenUnHndExp 1\r\n"), 1) << log;
  EXPECT_TRUE(HasStackLine(log, "tests/support/TestCrashTrigger\\.cpp")) << log;
  EXPECT_TRUE(HasStackLine(log, "app/window/VrlApplication\\.cpp")) << log;
}

}  // namespace
