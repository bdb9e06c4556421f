#include "platform/engine/EngineText.h"

std::string QuoteIdent(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
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
