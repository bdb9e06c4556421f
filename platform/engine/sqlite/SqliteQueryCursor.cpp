#include "platform/engine/sqlite/SqliteQueryCursor.h"

#include "platform/engine/sqlite/SqliteConnection.h"

TSqliteQueryCursor::TSqliteQueryCursor(TSqliteConnection& connection, const std::string& sql,
                                       const TAceParams& params)
    : connection_(connection), sql_(sql), params_(params), stmt_(connection.Db(), sql) {
  int columns = sqlite3_column_count(stmt_.get());
  for (int c = 0; c < columns; ++c) fields_.emplace_back(sqlite3_column_name(stmt_.get(), c));
  values_.resize(fields_.size());
  nulls_.assign(fields_.size(), 1);
  BindParams(stmt_.get(), params_);
  Step();
}

void TSqliteQueryCursor::Step() {
  int rc = sqlite3_step(stmt_.get());
  if (rc == SQLITE_ROW) {
    eof_ = false;
    for (size_t c = 0; c < fields_.size(); ++c) {
      int column = static_cast<int>(c);
      nulls_[c] = sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL;
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
      values_[c].assign(text ? text : "", text ? sqlite3_column_bytes(stmt_.get(), column) : 0);
    }
    return;
  }
  eof_ = true;
  for (auto& value : values_) value.clear();
  nulls_.assign(fields_.size(), 1);
  if (rc != SQLITE_DONE) {
    EADSDatabaseError error = SqliteError(connection_.Db(), rc, "The query failed");
    sqlite3_reset(stmt_.get());
    connection_.Raise(error);
  }
  sqlite3_reset(stmt_.get());  // the end of the rows: no read stays open
}

void TSqliteQueryCursor::First() {
  sqlite3_reset(stmt_.get());
  Step();
}

void TSqliteQueryCursor::Next() {
  if (!eof_) Step();
}

void TSqliteQueryCursor::CheckField(size_t field) const {
  if (field >= fields_.size())
    connection_.Raise(EADSDatabaseError("No such field in the query", AdsErrNoField));
}

const std::string& TSqliteQueryCursor::FieldText(size_t field) const {
  CheckField(field);
  return values_[field];
}

bool TSqliteQueryCursor::FieldIsNull(size_t field) const {
  CheckField(field);
  return nulls_[field] != 0;
}

void TSqliteQueryCursor::Post(const std::vector<std::pair<size_t, std::string>>&) {
  connection_.Raise(EADSDatabaseError("The rows of a query are read-only", AdsErrReadOnly));
}

int64_t TSqliteQueryCursor::RecordCount() {
  try {
    std::string sql = sql_;
    while (!sql.empty() && (sql.back() == ';' || static_cast<unsigned char>(sql.back()) <= ' '))
      sql.pop_back();
    TSqliteStatement count(connection_.Db(), "SELECT count(*) FROM (" + sql + ")");
    BindParams(count.get(), params_);
    int rc = sqlite3_step(count.get());
    if (rc != SQLITE_ROW) throw SqliteError(connection_.Db(), rc, "The rows cannot be counted");
    return sqlite3_column_int64(count.get(), 0);
  } catch (const EADSDatabaseError& e) {
    connection_.Raise(e);
  }
}

bool TSqliteQueryCursor::Seek(const std::string&) {
  connection_.Raise(EADSDatabaseError("A query has no index to seek on", AdsErrNoIndex));
}
