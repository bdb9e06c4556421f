// The console program's pre-flight report and its refusal of a new folder under the old one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/console/ConsoleProgram.h"
#include "tests/app/console/ConsoleRun.h"
#include "tests/fuzz/targets/CsvReader.h"
#include "tests/support/AppTestInstallation.h"

namespace {

class ConsolePreflightTest : public ::testing::Test {
 protected:
  TConsoleRun Run(const std::vector<std::string>& args) { return RunConsole(args); }
  static std::string Contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::unique_ptr<TAppTestInstallation> install_ =
      std::make_unique<TAppTestInstallation>("VrlChangeDocsPathCli");
};

const std::string kRefusal =
    "The new folder C:\\Docs\\Archive lies under the old folder C:\\Docs: a second run would "
    "rewrite the rewritten paths again. Nothing was changed; give --force to replace all the same.";

TEST_F(ConsolePreflightTest, ANewFolderUnderTheOldOneIsRefusedUnlessForced) {
  const std::vector<std::string> docs = {"C:\\Docs\\a.doc", "D:\\x.doc"};
  const struct {
    std::vector<std::string> extra;
    const char* newPath;
    int code;
    bool changed;
    bool refused;
  } cases[] = {
      {{"--yes"}, "C:\\Docs\\Archive", 1, false, true},
      {{"--yes"}, "c:\\docs\\archive\\", 1, false, true},
      {{"--dry-run"}, "C:\\Docs\\Archive", 0, false, false},
      {{"--yes", "--force"}, "C:\\Docs\\Archive", 0, true, false},
      {{"--yes"}, "C:\\Docs2", 0, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.newPath + (" " + c.extra.back()));
    install_.reset();
    install_ = std::make_unique<TAppTestInstallation>("VrlChangeDocsPathCli");
    install_->Seed(docs, {"C:\\Docs\\A"});
    const std::string logBefore = install_->LogText();
    std::vector<std::string> args = {"--old", "C:\\Docs", "--new", c.newPath};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const TConsoleRun run = Run(args);
    EXPECT_EQ(run.Code, c.code) << run.Err;
    EXPECT_EQ(install_->DocumentNames() != docs, c.changed);
    EXPECT_EQ(install_->CardFolders() != std::vector<std::string>{"C:\\Docs\\A"}, c.changed);
    if (c.refused) {
      EXPECT_NE(run.Err.find("The new folder " + std::string(c.newPath) + " lies under the old"),
                std::string::npos)
          << run.Err;
      EXPECT_EQ(install_->LogText(), logBefore);  // no replace was started
    }
  }
}

TEST_F(ConsolePreflightTest, TheDryRunSaysPlainlyThatARerunWouldNest) {
  install_->Seed({"C:\\Docs\\a.doc"}, {});
  const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "C:\\Docs\\Archive", "--dry-run"});
  EXPECT_EQ(run.Code, 0);
  EXPECT_NE(run.Out.find("Re-run hazard: the new folder C:\\Docs\\Archive lies under the old "
                         "folder C:\\Docs. A second run would rewrite the rewritten paths again"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("Documents: 1 will change, 0 already under the new folder, 1 re-run "
                         "hazard"),
            std::string::npos);
  EXPECT_NE(run.Out.find("  rewritten again by a second run: C:\\Docs\\Archive\\a.doc -> "
                         "C:\\Docs\\Archive\\Archive\\a.doc\n"),
            std::string::npos);
  EXPECT_EQ(run.Err.find(kRefusal), std::string::npos);
}

TEST_F(ConsolePreflightTest, ReportWritesTheCsvAndChangesNothing) {
  const std::vector<std::string> docs = {"C:\\Docs\\Smith, \"J\"\\a.doc", "E:\\New\\כהן.doc"};
  install_->Seed(docs, {"C:\\Docs"});
  const std::string file = install_->Path("report.csv");
  std::ofstream(file) << "table,measure,count,value,related\r\nDocs,examined,9,,\r\n";
  const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--report", file});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_EQ(install_->DocumentNames(), docs);
  EXPECT_NE(run.Out.find("Report written to " + file + "\n"), std::string::npos);
  EXPECT_EQ(Contents(file),
            "table,measure,count,value,related\r\n"
            ",new_under_old,0,C:\\Docs,E:\\New\r\n"
            "Docs,examined,2,,\r\n"
            "Docs,will_change,1,,\r\n"
            "Docs,will_change,,\"C:\\Docs\\Smith, \"\"J\"\"\\a.doc\",\"E:\\New\\Smith, "
            "\"\"J\"\"\\a.doc\"\r\n"
            "Docs,already_new,1,,\r\n"
            "Docs,already_new,,E:\\New\\כהן.doc,\r\n"
            "Docs,rerun_hazard,0,,\r\n"
            "Docs,too_long,0,,\r\n"
            "Docs,other_folders,1,,\r\n"
            "Docs,other_folder,1,E:\\New,\r\n"
            "Cards,examined,1,,\r\n"
            "Cards,will_change,1,,\r\n"
            "Cards,will_change,,C:\\Docs,E:\\New\r\n"
            "Cards,already_new,0,,\r\n"
            "Cards,rerun_hazard,0,,\r\n"
            "Cards,too_long,0,,\r\n"
            "Cards,other_folders,0,,\r\n"
            "Pref,examined,0,,\r\n"
            "Pref,will_change,0,,\r\n");
  for (const auto& entry : std::filesystem::directory_iterator(install_->Root()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);  // renamed

  // A report that cannot be written is a failure, told plainly; nothing is left behind.
  const std::string nowhere = install_->Path("no such folder/report.csv");
  const TConsoleRun failed = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--report", nowhere});
  EXPECT_EQ(failed.Code, 2);
  EXPECT_EQ(failed.Err.rfind("The report cannot be written to " + nowhere + ":\r\n", 0), 0u)
      << failed.Err;
  EXPECT_FALSE(std::filesystem::exists(install_->Path("no such folder")));
}

TEST_F(ConsolePreflightTest, TheReportNamesTheFiveFoldersHoldingMostRecordsTheOldOneDoesNotTake) {
  install_->Seed(
      {"C:\\Docs\\a.doc", "\\\\fs1\\C$\\Docs\\b.doc", "\\\\FS1\\c$\\docs\\c.doc",
       "\\\\fs1\\C$\\Docs\\Sub\\d.doc", "C:\\Docs2\\e.doc", "C:/Docs/f.doc", "D:\\Old\\g.doc",
       "d:\\old\\h.doc", "E:\\i.doc", "F:\\X\\j.doc", "", "rel\\k.doc"},
      {"C:\\Docs\\A", "C:\\Docs2\\B", "c:\\docs"});
  const std::string file = install_->Path("report.csv");
  const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--report", file});
  EXPECT_EQ(run.Code, 0) << run.Err;
  // Blank and relative values lie under no folder; F:\X is the sixth.
  EXPECT_NE(run.Out.find("(no width enforced)\n"
                         "Documents: 9 records under other folders than C:\\Docs\n"
                         "  other folder: \\\\fs1\\C$\\Docs (3)\n"
                         "  other folder: D:\\Old (2)\n"
                         "  other folder: C:/Docs (1)\n"
                         "  other folder: C:\\Docs2 (1)\n"
                         "  other folder: E:\\ (1)\n"
                         "Cards: 2 will change"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("(no width enforced)\n"
                         "Cards: 1 records under other folders than C:\\Docs\n"
                         "  other folder: C:\\Docs2 (1)\n"),
            std::string::npos)
      << run.Out;
  const std::optional<TCsvRows> rows = ReadCsv(Contents(file));
  ASSERT_TRUE(rows.has_value());
  TCsvRows others;
  for (const auto& row : *rows)
    if (row[1].rfind("other_folder", 0) == 0) others.push_back(row);
  EXPECT_EQ(others, (TCsvRows{{"Docs", "other_folders", "9", "", ""},
                              {"Docs", "other_folder", "3", "\\\\fs1\\C$\\Docs", ""},
                              {"Docs", "other_folder", "2", "D:\\Old", ""},
                              {"Docs", "other_folder", "1", "C:/Docs", ""},
                              {"Docs", "other_folder", "1", "C:\\Docs2", ""},
                              {"Docs", "other_folder", "1", "E:\\", ""},
                              {"Cards", "other_folders", "1", "", ""},
                              {"Cards", "other_folder", "1", "C:\\Docs2", ""}}));
}

TEST_F(ConsolePreflightTest, AReportNeverReplacesTheDatabaseOrAnythingElseButAReport) {
  const std::vector<std::string> docs = {"C:\\Docs\\a.doc"};
  install_->Seed(docs, {});
  std::ofstream(install_->Path("DB/empty.lock")) << "";
  std::ofstream(install_->Path("Utils/settings.ini")) << "[DATABASE]\r\nPath=../DB\r\n";
  for (const std::string& target :
       {install_->DbFile(), install_->Path("DB/empty.lock"), install_->Path("Utils/settings.ini"),
        install_->Path("Utils")}) {
    SCOPED_TRACE(target);
    const bool folder = std::filesystem::is_directory(target);
    const std::string before = folder ? "" : Contents(target);
    const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "E:\\x", "--report", target});
    EXPECT_EQ(run.Code, 2);
    EXPECT_EQ(run.Err.rfind("The report is not written to " + target + ": ", 0), 0u) << run.Err;
    EXPECT_EQ(run.Out.find("Report written"), std::string::npos);
    if (!folder) {
      EXPECT_EQ(Contents(target), before);
    }
    EXPECT_EQ(install_->DocumentNames(), docs);  // the database still reads
  }
}

TEST_F(ConsolePreflightTest, CheckFilesReportsUnderTheRootsAndNeedsTheOldRoot) {
  std::filesystem::create_directories(install_->Path("old/A"));
  std::ofstream(install_->Path("old/A/a.doc")) << "a";
  install_->Seed({"C:\\Docs\\A\\a.doc", "C:\\Docs\\A\\b.doc"}, {"C:\\Docs\\A"});
  const TConsoleRun run = Run({"--old", "C:\\Docs", "--new", "E:\\New", "--check-files",
                               "--old-root", install_->Path("old")});
  EXPECT_EQ(run.Code, 0) << run.Err;
  EXPECT_NE(run.Out.find("Dry run: nothing was changed."), std::string::npos);
  EXPECT_NE(run.Out.find("Documents files: 1 old paths name no file, new paths not checked (no "
                         "--new-root)\n  no file: C:\\Docs\\A\\b.doc (" +
                         install_->Path("old/A/b.doc") + ")\n"),
            std::string::npos)
      << run.Out;
  EXPECT_NE(run.Out.find("Cards files: 0 old paths name no file"), std::string::npos);

  for (const std::vector<std::string>& usage : {std::vector<std::string>{"--check-files"},
                                                {"--old-root", "/x"},
                                                {"--check-files", "--new-root", "/y"},
                                                {"--report"}}) {
    std::vector<std::string> args = {"--old", "C:\\Docs", "--new", "E:\\New"};
    args.insert(args.end(), usage.begin(), usage.end());
    EXPECT_EQ(Run(args).Code, 64) << usage.front();
  }
}

}  // namespace
