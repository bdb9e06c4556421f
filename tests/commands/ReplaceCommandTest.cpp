// The replace command's refusals: path texts no Windows path can be, and a second replace while
// one holds the installation's replace lock.
#include "commands/ReplaceCommand.h"

#include <gtest/gtest.h>

#include "common/Format.h"
#include "common/StrTable.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/ReplaceLock.h"
#include "tests/support/AppTestInstallation.h"

namespace {

const std::string Confirm = "Do you want to start updating document paths?";
const std::string Completed = "Operation completed";

class TTestOwner : public TComponent {
 public:
  TTestOwner() : TComponent(nullptr, "ReplaceCommandTest") {}
  std::string ClassName() const override { return "TTestOwner"; }
};

class ReplaceCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.Seed({"C:\\Docs\\a.doc", "D:\\x.doc"}, {"C:\\Docs\\Smith"});
    ASSERT_TRUE(MainConnectionIsOpen());
  }
  TFakeUi& Ui() { return *install_.Ui; }
  void ExpectUnchanged() {
    EXPECT_EQ(install_.DocumentNames(), (std::vector<std::string>{"C:\\Docs\\a.doc", "D:\\x.doc"}));
    EXPECT_EQ(install_.CardFolders(), std::vector<std::string>{"C:\\Docs\\Smith"});
  }

  TAppTestInstallation install_{"VrlChangeDocsPath"};
  TTestOwner owner_;
};

TEST_F(ReplaceCommandTest, PathTextsNoWindowsPathCanBeAreRefusedBeforeAnythingIsWritten) {
  const std::string longest(32767, 'x');
  struct TCase {
    std::string oldPath, newPath;
    TStrId message;
  };
  const TCase cases[] = {
      {"C:\\Docs", "E:\\N\r\n[01/01/2020 00:00:00:000 v9] forged entry", sNewPathControlChar},
      {"C:\\Docs", "E:\\N\n", sNewPathControlChar},
      {"C:\\Docs", std::string("E:\\N\0x", 5), sNewPathControlChar},
      {"C:\\Docs", "E:\\N\x7F", sNewPathControlChar},
      {"C:\\Docs", "E:\\N\xC2\x85", sNewPathControlChar},  // U+0085, the C1 next-line control
      {"C:\\Do\tcs", "E:\\New", sOldPathControlChar},
      {"C:\\Docs\r", "E:\\New", sOldPathControlChar},
      {"C:\\Docs", "E:\\" + longest, sNewPathTooLong},
      {"C:\\" + longest, "E:\\New", sOldPathTooLong},
      {"C:\\Docs\n", "E:\\" + longest, sOldPathControlChar},  // the old path is checked first
      // Not UTF-8: a lone lead byte, a stray continuation byte, a byte never used, an overlong
      // form, a surrogate, beyond U+10FFFF, a sequence cut short.
      {"C:\\Docs", "E:\\\xC2", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\x80x", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\xFF", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\xC0\xAF", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\xE0\x80\xAF", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\xED\xA0\x80", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\xF4\x90\x80\x80", sNewPathNotUtf8},
      {"C:\\Docs", "E:\\\xE2\x82x", sNewPathNotUtf8},
      {"C:\\D\xD7", "E:\\New", sOldPathNotUtf8},
      // Direction overrides and isolates, line and paragraph separators.
      {"C:\\Docs",
       "E:\\\xE2\x80\xAE"
       "cod.exe",
       sNewPathDirectionChar},                                               // U+202E
      {"C:\\Docs", "E:\\\xE2\x80\xAA", sNewPathDirectionChar},               // U+202A
      {"C:\\Docs", "E:\\\xE2\x81\xA6x\xE2\x81\xA9", sNewPathDirectionChar},  // U+2066 .. U+2069
      {"C:\\Docs", "E:\\\xE2\x80\xA8", sNewPathDirectionChar},               // U+2028
      {"C:\\Docs\xE2\x80\xA9", "E:\\New", sOldPathDirectionChar},            // U+2029
      {"C:\\D\xE2\x81\xA8", "E:\\\xFF", sOldPathDirectionChar},  // U+2068; the old path first
  };
  const std::string logBefore = install_.LogText();
  for (const TCase& c : cases) {
    Ui().Messages.clear();
    Ui().ConfirmAnswers = {true};
    const TCommandResult result = ReplaceDocsPath(owner_, c.oldPath, c.newPath);
    EXPECT_EQ(result.Outcome, TCommandOutcome::RefusedPath) << c.message;
    EXPECT_EQ(Ui().Messages, std::vector<std::string>{LoadStr(c.message)});
    EXPECT_TRUE(Ui().Confirmations.empty());
  }
  ExpectUnchanged();
  EXPECT_EQ(install_.LogText(), logBefore);
}

TEST_F(ReplaceCommandTest, SeveralFoldersThatConflictAreRefusedBeforeAnythingIsWritten) {
  struct TCase {
    const char* Name;
    TFolderMappingRows Rows;
    TCommandOutcome Outcome;
    std::string Message;
  };
  const TCase cases[] = {
      {"SameOldTwice",
       {{"C:\\Docs", "E:\\A"}, {"D:\\X", "E:\\X"}, {"c:\\DOCS\\", "E:\\B"}},
       TCommandOutcome::RefusedMapping,
       Format(LoadStr(sMappingSameOld), {"c:\\DOCS\\", 1, 3})},
      {"Chain",
       {{"C:\\Docs", "D:\\Docs"}, {"D:\\Docs", "E:\\Docs"}},
       TCommandOutcome::RefusedMapping,
       Format(LoadStr(sMappingRewrittenAgain), {"D:\\Docs", 1, "D:\\Docs", 2})},
      {"BlankNew",
       {{"C:\\Docs", "E:\\A"}, {"D:\\X", "  "}},
       TCommandOutcome::BlankNewPath,
       Format(LoadStr(sMappingRowRefused), {2, LoadStr(sEnterNewPath)})},
      {"ControlCharacter",
       {{"C:\\Docs", "E:\\A"}, {"D:\\X\t", "E:\\X"}},
       TCommandOutcome::RefusedPath,
       Format(LoadStr(sMappingRowRefused), {2, LoadStr(sOldPathControlChar)})},
  };
  const std::string logBefore = install_.LogText();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const bool dryRun : {false, true}) {
      Ui().Messages.clear();
      Ui().ConfirmAnswers = {true};
      TReplaceOptions options;
      options.DryRun = dryRun;
      EXPECT_EQ(ReplaceDocsPaths(owner_, c.Rows, options).Outcome, c.Outcome);
      EXPECT_EQ(Ui().Messages, std::vector<std::string>{c.Message});
      EXPECT_TRUE(Ui().Confirmations.empty());
    }
  }
  ExpectUnchanged();
  EXPECT_EQ(install_.LogText(), logBefore);
}

TEST_F(ReplaceCommandTest, TheLongestWindowsPathAndNonAsciiLettersAreAccepted) {
  // 32,767 characters, some of them Hebrew letters of two bytes each.
  std::string longest = "E:\\\xD7\x90\xD7\x91";
  longest += std::string(32767 - 5, 'y');
  Ui().ConfirmAnswers = {true};
  const TCommandResult result = ReplaceDocsPath(owner_, "C:\\Docs", longest);
  EXPECT_EQ(result.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(install_.DocumentNames(), (std::vector<std::string>{longest + "\\a.doc", "D:\\x.doc"}));

  // The neighbours of the refused characters (U+2027, U+202F, U+2065, U+206A), a character of
  // four bytes and the replacement character are paths too.
  TReplaceOptions dryRun;
  dryRun.DryRun = true;
  for (const char* newPath : {"E:\\\xE2\x80\xA7", "E:\\\xE2\x80\xAF", "E:\\\xE2\x81\xA5",
                              "E:\\\xE2\x81\xAA", "E:\\\xF0\x9F\x93\x81", "E:\\\xEF\xBF\xBD"})
    EXPECT_EQ(ReplaceDocsPath(owner_, "C:\\Docs", newPath, dryRun).Outcome,
              TCommandOutcome::Completed)
        << newPath;
}

TEST_F(ReplaceCommandTest, ASecondReplaceIsRefusedWhileAnotherHoldsTheLock) {
  TReplaceLock other;  // another window, console or station of the installation
  ASSERT_EQ(other.Acquire(install_.DbFolder()), TReplaceLock::TResult::Held);
  const std::string logBefore = install_.LogText();
  Ui().ConfirmAnswers = {true};
  const TCommandResult refused = ReplaceDocsPath(owner_, "C:\\Docs", "E:\\New");
  EXPECT_EQ(refused.Outcome, TCommandOutcome::Busy);
  EXPECT_EQ(Ui().Confirmations, std::vector<std::string>{Confirm});
  EXPECT_EQ(Ui().Messages, std::vector<std::string>{LoadStr(sAnotherReplaceRunning)});
  EXPECT_EQ(Ui().Cursor(), TCursorKind::crDefault);
  ExpectUnchanged();
  EXPECT_EQ(install_.LogText(), logBefore);

  // A dry run writes nothing and may look while the other replace runs.
  TReplaceOptions dryRun;
  dryRun.DryRun = true;
  EXPECT_EQ(ReplaceDocsPath(owner_, "C:\\Docs", "E:\\New", dryRun).Outcome,
            TCommandOutcome::Completed);

  // Once the other replace has ended, the replace goes ahead; its own lock ends with it.
  other.Release();
  Ui().Messages.clear();
  Ui().ConfirmAnswers = {true};
  EXPECT_EQ(ReplaceDocsPath(owner_, "C:\\Docs", "E:\\New").Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(Ui().Messages, std::vector<std::string>{Completed});
  TReplaceLock after;
  EXPECT_EQ(after.Acquire(install_.DbFolder()), TReplaceLock::TResult::Held);
}

// Starts a second replace in the middle of the first one's document pass.
class TSecondReplace : public TRewriteObserver {
 public:
  explicit TSecondReplace(TComponent& owner) : owner_(owner) {}
  void Rewritten(const std::string&, const std::string&) override {
    if (!started_) {
      started_ = true;
      Second = ReplaceDocsPath(owner_, "C:\\Docs", "F:\\Second");
    }
  }
  TCommandResult Second;

 private:
  TComponent& owner_;
  bool started_ = false;
};

TEST_F(ReplaceCommandTest, OfTwoReplacesStartedTogetherExactlyOneProceeds) {
  TSecondReplace second(owner_);
  Ui().ConfirmAnswers = {true, true};
  TReplaceOptions watched;
  watched.DocsObserver = &second;
  const TCommandResult first = ReplaceDocsPath(owner_, "C:\\Docs", "E:\\First", watched);
  EXPECT_EQ(first.Outcome, TCommandOutcome::Completed);
  EXPECT_EQ(second.Second.Outcome, TCommandOutcome::Busy);
  EXPECT_EQ(second.Second.Docs.Rewritten + second.Second.Cards.Rewritten, 0);
  EXPECT_EQ(Ui().Messages, (std::vector<std::string>{LoadStr(sAnotherReplaceRunning), Completed}));
  EXPECT_EQ(install_.DocumentNames(), (std::vector<std::string>{"E:\\First\\a.doc", "D:\\x.doc"}));
  EXPECT_EQ(install_.CardFolders(), std::vector<std::string>{"E:\\First\\Smith"});
}

}  // namespace
