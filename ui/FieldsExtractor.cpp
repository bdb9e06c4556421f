#include "ui/FieldsExtractor.h"

#include "common/SysUtils.h"
#include "log/EventLog.h"

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

size_t SkipBlanks(const std::string& line, size_t pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  return pos;
}

// True when the non-empty token stands at pos.
bool At(const std::string& line, size_t pos, const std::string& token) {
  return !token.empty() && line.compare(pos, token.size(), token) == 0;
}

}  // namespace

void TFieldsExtractor::SetDelimiters(const std::string& quote, const std::string& separator) {
  quote_ = quote;
  separator_ = separator;
  OnField = nullptr;
}

bool TFieldsExtractor::IsClosingQuote(const std::string& line, size_t afterQuote) const {
  size_t pos = SkipBlanks(line, afterQuote);
  if (pos == line.size()) return true;
  if (!At(line, pos, separator_)) return false;
  pos = SkipBlanks(line, pos + separator_.size());
  return pos == line.size() || At(line, pos, quote_);
}

void TFieldsExtractor::Deliver(int fieldNo, const std::string& text) {
  if (OnField) {
    OnField(*this, fieldNo, text);
    return;
  }
  LogEventEx(this, ClassName() + ".ExtractFieldsFromRec", "Value  " + text + " Leek !!!", nullptr);
}

void TFieldsExtractor::ExtractFieldsFromRec(const std::string& record) {
  if (quote_.empty()) return;
  const std::string line = Trim(record);
  int fieldNo = 1;
  size_t pos = 0;
  while (pos < line.size()) {
    if (!At(line, pos, quote_)) {
      ++pos;  // text outside quotes
      continue;
    }
    const size_t start = pos + quote_.size();
    size_t close = line.find(quote_, start);
    while (close != std::string::npos && !IsClosingQuote(line, close + quote_.size()))
      close = line.find(quote_, close + 1);
    // Whether a quote closes does not depend on where its field opened: when none closes
    // here, no later quote opens a field that closes either.
    if (close == std::string::npos) return;
    Deliver(fieldNo++, line.substr(start, close - start));
    pos = SkipBlanks(line, close + quote_.size());
    if (At(line, pos, separator_)) pos += separator_.size();
  }
}
