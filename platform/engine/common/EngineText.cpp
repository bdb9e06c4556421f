#include "platform/engine/common/EngineText.h"

namespace {
std::string Quoted(const std::string& text, char quote) {
  std::string quoted(1, quote);
  for (char c : text) {
    quoted += c;
    if (c == quote) quoted += quote;
  }
  return quoted + quote;
}
}  // namespace

std::string QuoteIdent(const std::string& name) {
  return Quoted(name, '"');
}

std::string QuoteLiteral(const std::string& text) {
  return Quoted(text, '\'');
}

EADSDatabaseError Appended(const EADSDatabaseError& error, const std::string& more) {
  return EADSDatabaseError(error.Message() + more, error.ACEErrorCode, error.SQLErrorCode,
                           error.TableName, error.ColumnName, error.DataSetName,
                           error.DataSetOwnerName);
}

std::string RolledBackText(int64_t lost) {
  return " (" + std::to_string(lost) + (lost == 1 ? " posted record was" : " posted records were") +
         " rolled back)";
}
