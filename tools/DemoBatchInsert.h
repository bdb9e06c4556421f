// Rows of a demo table inserted many to a statement: one statement per row is one round trip per
// row on the remote server, too slow for ten million documents.
// The values are written into the statement as SQL string literals (QuoteLiteral), so the
// connection must read backslashes as themselves: the local engine always does, the remote
// server with standard_conforming_strings on (FillRemoteDatabase sets it).
#pragma once

#include <optional>
#include <string>
#include <vector>

class TAceConnection;

class TDemoBatchInsert {
 public:
  static constexpr size_t kRowsPerStatement = 256;

  TDemoBatchInsert(TAceConnection& db, const std::string& table,
                   const std::vector<std::string>& columns);
  // One row, a value per column (nullopt: NULL); the statement goes when it holds enough rows.
  void Add(const std::vector<std::optional<std::string>>& values);
  // Sends the rows not sent yet. Call it before the transaction commits.
  void Flush();

 private:
  TAceConnection& db_;
  std::string head_;  // "INSERT INTO table (columns) VALUES "
  size_t columns_;
  std::string values_;
  size_t rows_ = 0;
};
