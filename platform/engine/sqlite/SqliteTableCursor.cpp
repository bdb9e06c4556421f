#include "platform/engine/sqlite/SqliteTableCursor.h"

#include "platform/engine/sqlite/SqliteConnection.h"

namespace {
const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}
}  // namespace

TSqliteTableCursor::TSqliteTableCursor(TSqliteConnection& connection, const std::string& tableName,
                                       const TAceTableOptions& options)
    : connection_(connection), readOnly_(options.ReadOnly) {
  table_ = connection_.ResolveTable(tableName, fields_);
  lock_ = std::make_unique<TSqliteTableLock>(connection_.File(), table_, options.Exclusive);
  slotOf_.assign(fields_.size(), -1);
  if (!options.IndexName.empty()) {
    for (const std::string& column : connection_.IndexColumns(table_, options.IndexName)) {
      for (size_t f = 0; f < fields_.size(); ++f) {
        if (SameText(fields_[f].c_str(), column)) keyFields_.push_back(f);
      }
    }
  }
  for (size_t f : keyFields_) {
    slotOf_[f] = static_cast<int>(slots_.size());
    slots_.push_back(f);
  }
  First();
}

TSqliteTableCursor::~TSqliteTableCursor() {
  try {
    connection_.CommitPending();
  } catch (...) {
    // closing a table never raises
  }
}

void TSqliteTableCursor::Raise(const EADSDatabaseError& error) const {
  connection_.Raise(error);
}

sqlite3_stmt* TSqliteTableCursor::FetchStatement(TFetch kind) const {
  TSqliteStatement& cached = fetch_[kind];
  if (!cached) {
    std::string columns = "rowid";
    for (size_t f : slots_) columns += ", " + QuoteIdent(fields_[f]);
    std::string key, order, params;
    int n = 0;
    for (size_t f : keyFields_) {
      key += QuoteIdent(fields_[f]) + ", ";
      params += "?" + std::to_string(++n) + ", ";
    }
    order = key + "rowid";
    key += "rowid";
    params += "?" + std::to_string(++n);
    std::string where;
    if (kind == fAfter) where = " WHERE (" + key + ") > (" + params + ")";
    if (kind == fFrom) where = " WHERE (" + key + ") >= (" + params + ")";
    if (kind == fSeek) where = " WHERE " + QuoteIdent(fields_[keyFields_.at(0)]) + " >= ?1";
    cached = TSqliteStatement(connection_.Db(), "SELECT " + columns + " FROM " +
                                                    QuoteIdent(table_) + where + " ORDER BY " +
                                                    order + " LIMIT " + std::to_string(kBatchRows));
  }
  return cached.get();
}

void TSqliteTableCursor::Fetch(TFetch kind, const std::string* seekKey) const {
  sqlite3_stmt* stmt;
  try {
    stmt = FetchStatement(kind);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  size_t width = slots_.size();
  if (kind == fAfter || kind == fFrom) {
    size_t row = kind == fAfter ? count_ - 1 : pos_;
    int n = 0;
    for (size_t f : keyFields_) {
      const TCell& cell = cells_[row * width + slotOf_[f]];
      if (cell.null)
        sqlite3_bind_null(stmt, ++n);
      else
        sqlite3_bind_text(stmt, ++n, cell.text.data(), static_cast<int>(cell.text.size()),
                          SQLITE_TRANSIENT);
    }
    sqlite3_bind_int64(stmt, ++n, rowids_[row]);
  } else if (kind == fSeek) {
    sqlite3_bind_text(stmt, 1, seekKey->data(), static_cast<int>(seekKey->size()),
                      SQLITE_TRANSIENT);
  }
  size_t n = 0;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    if (rowids_.size() <= n) {
      rowids_.resize(n + 1);
      cells_.resize((n + 1) * width);
    }
    rowids_[n] = sqlite3_column_int64(stmt, 0);
    TCell* row = cells_.data() + n * width;  // no slots: no cells, and no element to index
    for (size_t s = 0; s < width; ++s) {
      int column = static_cast<int>(s) + 1;
      if (sqlite3_column_type(stmt, column) == SQLITE_NULL) {
        row[s].text.clear();
        row[s].null = true;
      } else {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        row[s].text.assign(text, sqlite3_column_bytes(stmt, column));
        row[s].null = false;
      }
    }
    ++n;
  }
  if (rc != SQLITE_DONE) {
    EADSDatabaseError error =
        SqliteError(connection_.Db(), rc, "The table " + table_ + " cannot be read", table_);
    sqlite3_reset(stmt);
    count_ = pos_ = 0;
    Raise(error);
  }
  sqlite3_reset(stmt);
  count_ = n;
  pos_ = 0;
  more_ = n == static_cast<size_t>(kBatchRows);
}

void TSqliteTableCursor::First() {
  Fetch(fFirst);
}

void TSqliteTableCursor::Next() {
  if (Eof()) return;
  if (++pos_ == count_ && more_) {
    connection_.CommitIfDue();
    Fetch(fAfter);
  }
}

void TSqliteTableCursor::CheckField(size_t field) const {
  if (field >= fields_.size())
    Raise(EADSDatabaseError("No such field in table " + table_, AdsErrNoField, 0, table_));
}

void TSqliteTableCursor::Want(size_t field) const {
  slotOf_[field] = static_cast<int>(slots_.size());
  slots_.push_back(field);
  for (auto& statement : fetch_) statement = TSqliteStatement();
  if (Eof()) {
    count_ = pos_ = 0;
    cells_.clear();
    return;
  }
  // Refetch from the current record with the new column: a one-row batch in the new layout
  // carries the current key (key columns keep their slots) for the fetch to start from.
  size_t oldWidth = slots_.size() - 1;
  std::vector<TCell> row(slots_.size());
  for (size_t f : keyFields_) row[slotOf_[f]] = cells_[pos_ * oldWidth + slotOf_[f]];
  int64_t rowid = rowids_[pos_];
  cells_.swap(row);
  rowids_.assign(1, rowid);
  pos_ = 0;
  count_ = 1;
  Fetch(fFrom);
}

const TSqliteTableCursor::TCell& TSqliteTableCursor::Cell(size_t field) const {
  CheckField(field);
  if (slotOf_[field] < 0) Want(field);
  return cells_[pos_ * slots_.size() + slotOf_[field]];
}

const std::string& TSqliteTableCursor::FieldText(size_t field) const {
  if (Eof()) {
    CheckField(field);
    return EmptyText();
  }
  return Cell(field).text;
}

bool TSqliteTableCursor::FieldIsNull(size_t field) const {
  if (Eof()) {
    CheckField(field);
    return true;
  }
  return Cell(field).null;
}

void TSqliteTableCursor::Post(const std::vector<std::pair<size_t, std::string>>& changes) {
  if (readOnly_)
    Raise(
        EADSDatabaseError("The table " + table_ + " is open read-only", AdsErrReadOnly, 0, table_));
  if (Eof())
    Raise(EADSDatabaseError("There is no current record in table " + table_, AdsErrDataSetState, 0,
                            table_));
  if (changes.empty()) return;
  for (const auto& change : changes) CheckField(change.first);

  bool same = lastUpdate_ && lastColumns_.size() == changes.size();
  for (size_t i = 0; same && i < changes.size(); ++i) same = lastColumns_[i] == changes[i].first;
  if (!same) {
    lastColumns_.clear();
    for (const auto& change : changes) lastColumns_.push_back(change.first);
    auto it = updates_.find(lastColumns_);
    if (it == updates_.end()) {
      std::string sql = "UPDATE " + QuoteIdent(table_) + " SET ";
      for (size_t i = 0; i < changes.size(); ++i)
        sql += (i ? ", " : "") + QuoteIdent(fields_[changes[i].first]) + " = ?" +
               std::to_string(i + 1);
      sql += " WHERE rowid = ?" + std::to_string(changes.size() + 1);
      try {
        it = updates_.emplace(lastColumns_, TSqliteStatement(connection_.Db(), sql)).first;
      } catch (const EADSDatabaseError& e) {
        lastUpdate_ = nullptr;
        Raise(e);
      }
    }
    lastUpdate_ = it->second.get();
  }

  try {
    connection_.BeforePost();
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  sqlite3_stmt* stmt = lastUpdate_;
  int n = 0;
  for (const auto& change : changes)
    sqlite3_bind_text(stmt, ++n, change.second.data(), static_cast<int>(change.second.size()),
                      SQLITE_STATIC);
  sqlite3_bind_int64(stmt, ++n, rowids_[pos_]);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) {
    EADSDatabaseError error = SqliteError(
        connection_.Db(), rc, "The record could not be posted in table " + table_, table_);
    sqlite3_reset(stmt);
    Raise(error);
  }
  sqlite3_reset(stmt);
  if (sqlite3_changes(connection_.Db()) == 0)
    Raise(EADSDatabaseError("The record was deleted by another user (table " + table_ + ")",
                            AdsErrRecordGone, 0, table_));
  size_t width = slots_.size();
  for (const auto& change : changes) {
    int slot = slotOf_[change.first];
    if (slot < 0) continue;
    TCell& cell = cells_[pos_ * width + slot];
    cell.text = change.second;
    cell.null = false;
  }
  connection_.AfterPost();
}

int64_t TSqliteTableCursor::RecordCount() {
  try {
    TSqliteStatement count(connection_.Db(), "SELECT count(*) FROM " + QuoteIdent(table_));
    int rc = sqlite3_step(count.get());
    if (rc != SQLITE_ROW)
      throw SqliteError(connection_.Db(), rc, "The records cannot be counted", table_);
    return sqlite3_column_int64(count.get(), 0);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
}

bool TSqliteTableCursor::Seek(const std::string& key) {
  if (keyFields_.empty())
    Raise(EADSDatabaseError("No index is active on table " + table_, AdsErrNoIndex, 0, table_));
  Fetch(fSeek, &key);
  if (Eof()) return false;
  const TCell& cell = cells_[pos_ * slots_.size() + slotOf_[keyFields_[0]]];
  return !cell.null && cell.text == key;
}
