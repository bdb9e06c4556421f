// The mapping file of a replace of several folders: any bytes, no read beyond them, and what it
// reads keeps what the format promises: rows only after a header, no blank folder, UTF-8 text,
// a fault's line within the text; and rows written back as the report writes its fields read
// back as they were (a formula guard aside). Input: the file's text.
#include <algorithm>
#include <string_view>

#include "app/report/ReportCsv.h"
#include "common/PathTextCheck.h"
#include "common/SysUtils.h"
#include "docpaths/FolderMappings.h"
#include "tests/fuzz/targets/FuzzSupport.h"

namespace {

// A field the report guards with a leading apostrophe reads back with it.
bool ReadsBackAs(const std::string& read, const std::string& written) {
  if (read == written) return true;
  return !written.empty() && std::string_view("=+-@\t\r").find(written[0]) != std::string::npos &&
         read == "'" + written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = FuzzText(data, size);
  const TMappingFile file = ParseMappingFile(text);
  if (file.Fault != TMappingFile::None) {
    FUZZ_CHECK(file.Rows.empty());
    FUZZ_CHECK(file.Line >= 1);
    FUZZ_CHECK(file.Line <= 1 + static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
    return 0;
  }
  FUZZ_CHECK(!file.Rows.empty());
  std::string written = "old,new\r\n";
  for (const TFolderMapping& row : file.Rows) {
    FUZZ_CHECK(!Trim(row.Old).empty() && !Trim(row.New).empty());
    FUZZ_CHECK(ValidUtf8Length(row.Old) == row.Old.size());
    FUZZ_CHECK(ValidUtf8Length(row.New) == row.New.size());
    written += CsvField(row.Old) + "," + CsvField(row.New) + "\r\n";
  }
  const TMappingFile again = ParseMappingFile(written);
  FUZZ_CHECK(again.Fault == TMappingFile::None && again.Rows.size() == file.Rows.size());
  for (size_t i = 0; i < file.Rows.size(); ++i) {
    FUZZ_CHECK(ReadsBackAs(again.Rows[i].Old, file.Rows[i].Old));
    FUZZ_CHECK(ReadsBackAs(again.Rows[i].New, file.Rows[i].New));
  }
  // The journal's form of the rows reads back as they are when no field holds a tab or a line
  // end (PathTextCheck refuses those before any run).
  bool plain = true;
  for (const TFolderMapping& row : file.Rows)
    for (const std::string* field : {&row.Old, &row.New})
      plain = plain && field->find_first_of("\t\n") == std::string::npos;
  if (plain) FUZZ_CHECK(ParseMappingRows(FormatMappingRows(file.Rows)) == file.Rows);
  return 0;
}
