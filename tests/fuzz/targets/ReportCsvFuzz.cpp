// The pre-flight report's CSV read back by a strict RFC 4180 reader: every field, alone and
// inside a whole report, reads back as the bytes written. Input: NUL-separated texts (the old
// and new folder, then sample values).
#include <string_view>

#include "app/report/ReportCsv.h"
#include "tests/fuzz/targets/CsvReader.h"
#include "tests/fuzz/targets/FuzzSupport.h"

namespace {

// A cell that a spreadsheet would take for a formula may be written with a guarding apostrophe
// in front; it then reads back with it.
bool ReadsBackAs(const std::string& read, const std::string& written) {
  if (read == written) return true;
  return !written.empty() && std::string_view("=+-@\t\r").find(written[0]) != std::string::npos &&
         read == "'" + written;
}

void CheckOneField(const std::string& field) {
  const std::optional<TCsvRows> alone = ReadCsv(CsvField(field) + "\r\n");
  FUZZ_CHECK(alone && alone->size() == 1 && alone->front().size() == 1);
  FUZZ_CHECK(ReadsBackAs(alone->front().front(), field));
  const std::optional<TCsvRows> between = ReadCsv("a," + CsvField(field) + ",b\r\nc\r\n");
  FUZZ_CHECK(between && between->size() == 2 && between->front().size() == 3);
  FUZZ_CHECK(ReadsBackAs((*between)[0][1], field));
  FUZZ_CHECK((*between)[0][0] == "a" && (*between)[0][2] == "b" && (*between)[1][0] == "c");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> texts = FuzzTexts(data, size, 6);
  for (const std::string& text : texts) CheckOneField(text);

  TPreflightReport report;
  report.NewUnderOld = !texts[0].empty() && texts[0].size() < texts[1].size();
  report.Files = {true, texts[2], texts[3]};
  report.Docs.WillChange.Add(texts[2], texts[3]);
  report.Cards.OldFileMissing.Add(texts[4], texts[5]);
  const std::string csv = PreflightReportCsv(report, texts[0], texts[1]);
  const std::optional<TCsvRows> rows = ReadCsv(csv);
  FUZZ_CHECK(rows.has_value());
  for (const auto& row : *rows) FUZZ_CHECK(row.size() == 5);
  FUZZ_CHECK(rows->size() > 2 && (*rows)[1][1] == "new_under_old");
  FUZZ_CHECK((*rows)[1][2] == (report.NewUnderOld ? "1" : "0"));
  FUZZ_CHECK(ReadsBackAs((*rows)[1][3], texts[0]) && ReadsBackAs((*rows)[1][4], texts[1]));
  // Each measure's sample follows its count row.
  size_t samples = 0;
  for (size_t i = 2; i < rows->size(); ++i) {
    const auto& row = (*rows)[i];
    if (!row[2].empty()) continue;
    const bool docs = row[0] == "Docs";
    FUZZ_CHECK(row[1] == (docs ? "will_change" : "old_file_missing"));
    FUZZ_CHECK(ReadsBackAs(row[3], texts[docs ? 2 : 4]));
    FUZZ_CHECK(ReadsBackAs(row[4], texts[docs ? 3 : 5]));
    ++samples;
  }
  FUZZ_CHECK(samples == 2);
  return 0;
}
