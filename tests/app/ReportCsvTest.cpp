// CSV fields of the pre-flight report: quoted exactly when a reader would otherwise split or
// trim them.
#include "app/ReportCsv.h"

#include <gtest/gtest.h>

namespace {

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
                     "Cards,examined,0,,\r\n"),
            std::string::npos)
      << csv;
  EXPECT_EQ(csv.find("new_file_present"), std::string::npos);  // no new root: not checked
  EXPECT_EQ(csv.find("Cards,column_width"), std::string::npos);
}

}  // namespace
