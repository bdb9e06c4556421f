#include "tools/DemoBatchInsert.h"

#include <stdexcept>

#include "platform/AceDriver.h"
#include "platform/engine/common/EngineText.h"

TDemoBatchInsert::TDemoBatchInsert(TAceConnection& db, const std::string& table,
                                   const std::vector<std::string>& columns)
    : db_(db), head_("INSERT INTO " + table + " ("), columns_(columns.size()) {
  for (size_t i = 0; i < columns.size(); ++i) head_ += (i ? ", " : "") + columns[i];
  head_ += ") VALUES ";
}

void TDemoBatchInsert::Add(const std::vector<std::optional<std::string>>& values) {
  if (values.size() != columns_)
    throw std::logic_error("a demo row of " + std::to_string(values.size()) + " values for " +
                           std::to_string(columns_) + " columns");
  values_ += rows_ ? ", (" : "(";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) values_ += ", ";
    if (!values[i]) {
      values_ += "NULL";
      continue;
    }
    values_ += QuoteLiteral(*values[i]);
  }
  values_ += ')';
  if (++rows_ == kRowsPerStatement) Flush();
}

void TDemoBatchInsert::Flush() {
  if (rows_ == 0) return;
  db_.ExecSQL(head_ + values_, {});
  values_.clear();
  rows_ = 0;
}
