// The quoted-field line parser (language records, help links) on any line and delimiters: the
// fields come numbered from 1 and are those the rule of FieldsExtractor.h gives, worked out here
// in two steps (first which quotes close, then the fields between opening and closing quotes);
// and fields written between quotes and separators come back exactly. Input: the quote, the
// separator, then the line, whose NUL-separated pieces are also the fields written.
#include <algorithm>

#include "common/SysUtils.h"
#include "tests/fuzz/targets/FuzzSupport.h"
#include "ui/FieldsExtractor.h"

namespace {

std::vector<std::string> Extract(TFieldsExtractor& extractor, const std::string& line) {
  std::vector<std::string> fields;
  extractor.OnField = [&fields](TFieldsExtractor&, int fieldNo, const std::string& text) {
    FUZZ_CHECK(fieldNo == static_cast<int>(fields.size()) + 1);
    fields.push_back(text);
  };
  extractor.ExtractFieldsFromRec(line);
  return fields;
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// The fields by the rule: the line loses its blank ends; a quote closes when after it, past
// blanks, the line ends, or the separator follows and past it and blanks the line ends or a
// quote follows. A field opens at the first quote from where the last one ended (past blanks
// and one separator) and ends at the first closing quote after that.
std::vector<std::string> RuleFields(const std::string& record, char quote, char separator) {
  const std::string line = Trim(record);
  const size_t n = line.size();
  auto skipBlanks = [&](size_t i) {
    while (i < n && IsBlank(line[i])) ++i;
    return i;
  };
  std::vector<bool> closes(n, false);
  for (size_t i = 0; i < n; ++i) {
    if (line[i] != quote) continue;
    size_t j = skipBlanks(i + 1);
    if (j < n && line[j] == separator) {
      j = skipBlanks(j + 1);
      closes[i] = j == n || line[j] == quote;
    } else {
      closes[i] = j == n;
    }
  }
  std::vector<std::string> fields;
  for (size_t pos = 0;;) {
    const size_t open = line.find(quote, pos);
    if (open == std::string::npos) break;
    size_t close = open + 1;
    while (close < n && !(line[close] == quote && closes[close])) ++close;
    if (close >= n) break;
    fields.push_back(line.substr(open + 1, close - open - 1));
    pos = skipBlanks(close + 1);
    if (pos < n && line[pos] == separator) ++pos;
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string quote(1, static_cast<char>(data[0]));
  const std::string separator(1, static_cast<char>(data[1]));
  const std::string line = FuzzText(data + 2, size - 2);
  TFieldsExtractor extractor;
  extractor.SetDelimiters(quote, separator);
  FUZZ_CHECK(Extract(extractor, line) == RuleFields(line, quote[0], separator[0]));

  // Written fields: blanks are trimmed off the line's ends, so neither delimiter may be one.
  if (quote == separator || quote[0] <= ' ' || separator[0] <= ' ') return 0;
  std::vector<std::string> fields = FuzzTexts(data + 2, size - 2, 1);
  std::string written;
  for (std::string& field : fields) {
    field.erase(std::remove(field.begin(), field.end(), quote[0]), field.end());
    written += (written.empty() ? "" : separator) + quote + field + quote;
  }
  FUZZ_CHECK(Extract(extractor, written) == fields);
  return 0;
}
