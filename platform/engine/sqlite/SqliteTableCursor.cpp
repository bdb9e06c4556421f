#include "platform/engine/sqlite/SqliteTableCursor.h"

#include <iostream>

TSqliteTableCursor::TSqliteTableCursor(TSqliteConnection& connection, const std::string& tableName,
                                       const TAceTableOptions& options)
    : connection_(connection), readOnly_(options.ReadOnly) {
  table_ = connection_.ResolveTable(tableName, fields_);
  lock_ = std::make_unique<TSqliteTableLock>(connection_.File(), table_, options.Exclusive);
  if (!options.IndexName.empty()) {
    for (const std::string& column : connection_.IndexColumns(table_, options.IndexName)) {
      for (size_t f = 0; f < fields_.size(); ++f) {
        if (SameText(fields_[f].c_str(), column)) keyFields_.push_back(f);
      }
    }
  }
  LayOutKeys();
  First();
}

TSqliteTableCursor::~TSqliteTableCursor() {
  // Closed without Close: what this table posted and nobody committed is rolled back, never
  // passed off as written.
  if (tally_.Pending > 0) {
    int64_t lost = connection_.RollbackPending();
    std::clog << "Database engine: table " << table_ << " closed without committing; " << lost
              << " posted records were rolled back" << std::endl;
  }
  connection_.Forget(tally_);
}

void TSqliteTableCursor::Close() {
  connection_.CommitPending();
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
    ReadCells(stmt, cells_.data() + n * width, width);  // no cells at all when width is 0
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

void TSqliteTableCursor::ReadCells(sqlite3_stmt* stmt, TCell* row, size_t width) {
  for (size_t s = 0; s < width; ++s) {
    int column = static_cast<int>(s) + 1;
    int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL) {
      row[s].text.clear();
    } else {
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      row[s].text.assign(text, sqlite3_column_bytes(stmt, column));
    }
    row[s].null = type == SQLITE_NULL;
    row[s].blob = type == SQLITE_BLOB;
  }
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

void TSqliteTableCursor::LayoutChanged() const {
  for (auto& statement : fetch_) statement = TSqliteStatement();
  reread_ = TSqliteStatement();
}

sqlite3_stmt* TSqliteTableCursor::UpdateStatement(
    const std::vector<std::pair<size_t, std::string>>& changes) {
  bool same = lastUpdate_ && lastKey_.first.size() == changes.size();
  for (size_t i = 0; same && i < changes.size(); ++i)
    same = lastKey_.first[i] == changes[i].first &&
           lastKey_.second[i] == (slotOf_[changes[i].first] >= 0);
  if (same) return lastUpdate_;
  lastKey_.first.clear();
  lastKey_.second.clear();
  for (const auto& change : changes) {
    lastKey_.first.push_back(change.first);
    lastKey_.second.push_back(slotOf_[change.first] >= 0);
  }
  auto it = updates_.find(lastKey_);
  if (it == updates_.end()) {
    // ?1..?n the new values, ?n+1 the rowid, then the values read of the compared columns,
    // compared byte for byte whatever their type (NULL only matches NULL).
    const size_t n = changes.size();
    std::string sql = "UPDATE " + QuoteIdent(table_) + " SET ";
    for (size_t i = 0; i < n; ++i)
      sql +=
          (i ? ", " : "") + QuoteIdent(fields_[changes[i].first]) + " = ?" + std::to_string(i + 1);
    sql += " WHERE rowid = ?" + std::to_string(n + 1);
    for (size_t i = 0; i < n; ++i) {
      if (lastKey_.second[i])
        sql += " AND CAST(" + QuoteIdent(fields_[changes[i].first]) + " AS BLOB) IS ?" +
               std::to_string(n + 2 + i);
    }
    try {
      it = updates_.emplace(lastKey_, TSqliteStatement(connection_.Db(), sql)).first;
    } catch (const EADSDatabaseError& e) {
      lastUpdate_ = nullptr;
      Raise(e);
    }
  }
  lastUpdate_ = it->second.get();
  return lastUpdate_;
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
  if (journal_) {
    // The journal needs the record's RECID and every changed field's value as read.
    Cell(recIdField_);
    for (const auto& change : changes) Cell(change.first);
  }
  sqlite3_stmt* stmt = UpdateStatement(changes);

  try {
    connection_.BeforePost();
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  const size_t width = slots_.size();
  const int n = static_cast<int>(changes.size());
  for (int i = 0; i < n; ++i) {
    const auto& [field, value] = changes[i];
    const int slot = slotOf_[field];
    const TCell* read = slot < 0 ? nullptr : &cells_[pos_ * width + slot];
    // The stored type stays: a BLOB is written back as a BLOB.
    if (read && read->blob)
      sqlite3_bind_blob(stmt, i + 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    else
      sqlite3_bind_text(stmt, i + 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    if (!read) continue;
    if (read->null)
      sqlite3_bind_null(stmt, n + 2 + i);
    else
      sqlite3_bind_blob(stmt, n + 2 + i, read->text.data(), static_cast<int>(read->text.size()),
                        SQLITE_STATIC);
  }
  sqlite3_bind_int64(stmt, n + 1, rowids_[pos_]);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) {
    EADSDatabaseError error = SqliteError(
        connection_.Db(), rc, "The record could not be posted in table " + table_, table_);
    sqlite3_reset(stmt);
    Raise(error);
  }
  sqlite3_reset(stmt);
  if (sqlite3_changes(connection_.Db()) == 0) RaiseNotPosted();
  if (journal_) WriteJournal(changes);
  for (const auto& change : changes) {
    int slot = slotOf_[change.first];
    if (slot < 0) continue;
    TCell& cell = cells_[pos_ * width + slot];
    cell.text = change.second;
    cell.null = false;
  }
  connection_.AfterPost(tally_);
}

void TSqliteTableCursor::RaiseNotPosted() {
  bool exists = false;
  try {
    exists = Refresh();
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  if (!exists)
    Raise(EADSDatabaseError("The record was deleted by another user (table " + table_ + ")",
                            AdsErrRecordGone, 0, table_));
  Raise(EADSDatabaseError("The record was changed by another user (table " + table_ + ")",
                          AdsErrRecordChanged, 0, table_));
}

bool TSqliteTableCursor::Refresh() {
  if (Eof()) return false;
  if (!reread_) {
    std::string columns = "rowid";
    for (size_t f : slots_) columns += ", " + QuoteIdent(fields_[f]);
    reread_ = TSqliteStatement(connection_.Db(), "SELECT " + columns + " FROM " +
                                                     QuoteIdent(table_) + " WHERE rowid = ?1");
  }
  sqlite3_stmt* stmt = reread_.get();
  sqlite3_bind_int64(stmt, 1, rowids_[pos_]);
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) ReadCells(stmt, cells_.data() + pos_ * slots_.size(), slots_.size());
  sqlite3_reset(stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE)
    Raise(SqliteError(connection_.Db(), rc, "The table " + table_ + " cannot be read", table_));
  return rc == SQLITE_ROW;
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

void TSqliteTableCursor::JournalPosts(const TAcePostJournal& journal) {
  size_t f = 0;
  while (f < fields_.size() && !SameText(fields_[f].c_str(), "RECID")) ++f;
  if (f == fields_.size())
    Raise(EADSDatabaseError("Posts to " + table_ + " cannot be journalled: it has no RECID",
                            AdsErrNoJournal, 0, table_));
  try {
    journal_ = std::make_unique<TSqliteJournalWriter>(connection_, journal);
  } catch (const EADSDatabaseError& e) {
    Raise(e);
  }
  recIdField_ = f;
  if (slotOf_[f] < 0) Want(f);  // read with the batch from now on, not refetched at a post
}

void TSqliteTableCursor::WriteJournal(const std::vector<std::pair<size_t, std::string>>& changes) {
  const size_t width = slots_.size();
  const TCell& recId = cells_[pos_ * width + slotOf_[recIdField_]];
  // The cells read give their old values over to the journal: they take the posted ones next.
  for (const auto& [field, value] : changes) {
    TCell& read = cells_[pos_ * width + slotOf_[field]];
    journal_->Add(recId.text, fields_[field], read.null ? nullptr : &read.text, value);
  }
}
