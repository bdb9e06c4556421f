#include "platform/engine/sqlite/SqliteJournalWriter.h"

namespace {

// The run and table are the same in every row: they are written into the text once.
std::string InsertSql(const TAcePostJournal& journal, size_t rows) {
  const std::string row =
      "(" + QuoteLiteral(journal.RunId) + ", " + QuoteLiteral(journal.TableName) + ", ?, ?, ?, ?)";
  std::string sql = "INSERT INTO " + journal.Into.Name + " (" + journal.Into.Columns + ") VALUES ";
  for (size_t r = 0; r < rows; ++r) sql += (r ? ", " : "") + row;
  return sql;
}

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

}  // namespace

TSqliteJournalWriter::TSqliteJournalWriter(TSqliteConnection& connection,
                                           const TAcePostJournal& journal)
    : connection_(connection), journal_(journal) {
  try {
    single_ = TSqliteStatement(connection_.Db(), InsertSql(journal_, 1));
  } catch (const EADSDatabaseError& e) {
    throw Appended(e, " (the undo journal " + journal_.Into.Name + ")");
  }
}

TSqliteJournalWriter::~TSqliteJournalWriter() {
  connection_.ForgetRows(*this);
}

void TSqliteJournalWriter::Add(const std::string& recId, const std::string& fieldName,
                               std::string* oldValue, const std::string& newValue) {
  if (rows_.size() <= held_) rows_.resize(held_ + 1);
  TRow& row = rows_[held_++];
  row.recId.assign(recId);
  row.fieldName = &fieldName;
  row.oldNull = oldValue == nullptr;
  if (oldValue) row.oldValue.swap(*oldValue);
  row.newValue.assign(newValue);
  if (connection_.Grouping()) {
    connection_.HoldRows(*this);
    if (held_ < kRowsPerInsert) return;
  }
  try {
    WriteHeld();
  } catch (const EADSDatabaseError& e) {
    if (oldValue) oldValue->swap(row.oldValue);  // the record keeps the value it holds
    // The post just made is in the open group but not yet counted in its table's tally.
    const int64_t lost = connection_.RollbackPending();
    throw Appended(e, RolledBackText(lost + 1));
  }
}

void TSqliteJournalWriter::WriteHeld() {
  size_t first = 0;
  if (held_ >= kRowsPerInsert && !multi_)
    multi_ = TSqliteStatement(connection_.Db(), InsertSql(journal_, kRowsPerInsert));
  for (; held_ - first >= kRowsPerInsert; first += kRowsPerInsert)
    Insert(multi_.get(), first, kRowsPerInsert);
  for (; first < held_; ++first) Insert(single_.get(), first, 1);
  held_ = 0;
}

void TSqliteJournalWriter::Insert(sqlite3_stmt* stmt, size_t first, size_t count) {
  for (size_t r = 0; r < count; ++r) {
    const TRow& row = rows_[first + r];
    const int base = static_cast<int>(r * 4);
    BindText(stmt, base + 1, row.recId);
    BindText(stmt, base + 2, *row.fieldName);
    if (row.oldNull)
      sqlite3_bind_null(stmt, base + 3);
    else
      BindText(stmt, base + 3, row.oldValue);
    BindText(stmt, base + 4, row.newValue);
  }
  const int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) {
    EADSDatabaseError error = SqliteError(
        connection_.Db(), rc,
        "The undo journal rows could not be written for " + journal_.TableName, journal_.TableName);
    sqlite3_reset(stmt);
    held_ = 0;
    throw error;
  }
  sqlite3_reset(stmt);
}
