// A table walked in batches: each batch is one short SELECT of the next rows after the last
// key read (rowid order, or the active index's key then rowid), so the table is never loaded
// whole and no read statement stays open between batches. Only the columns the program has
// asked for are fetched; asking for another one refetches the batch from the current record.
// Posts run one cached UPDATE per set of changed columns.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/engine/AceDriver.h"
#include "platform/engine/sqlite/SqliteSupport.h"
#include "platform/engine/sqlite/SqliteTableLock.h"

class TSqliteConnection;

class TSqliteTableCursor : public TAceCursor {
 public:
  TSqliteTableCursor(TSqliteConnection& connection, const std::string& tableName,
                     const TAceTableOptions& options);
  ~TSqliteTableCursor() override;

  const std::vector<std::string>& FieldNames() const override { return fields_; }
  bool Eof() const override { return pos_ >= count_; }
  void First() override;
  void Next() override;
  const std::string& FieldText(size_t field) const override;
  bool FieldIsNull(size_t field) const override;
  void Post(const std::vector<std::pair<size_t, std::string>>& changes) override;
  int64_t RecordCount() override;
  bool Seek(const std::string& key) override;

 private:
  static constexpr int kBatchRows = 1024;
  enum TFetch { fFirst, fAfter, fFrom, fSeek, fKinds };
  struct TCell {
    std::string text;
    bool null = true;
  };

  [[noreturn]] void Raise(const EADSDatabaseError& error) const;
  void Want(size_t field) const;
  sqlite3_stmt* FetchStatement(TFetch kind) const;
  // Reads the next batch; fAfter and fFrom bind the current record's key, fSeek the key text.
  void Fetch(TFetch kind, const std::string* seekKey = nullptr) const;
  const TCell& Cell(size_t field) const;
  void CheckField(size_t field) const;

  TSqliteConnection& connection_;
  std::string table_;
  std::unique_ptr<TSqliteTableLock> lock_;  // held while the table is open
  std::vector<std::string> fields_;
  std::vector<size_t> keyFields_;  // the active index's columns; empty: rowid order
  bool readOnly_;

  // The batch. Mutable: fetching a column on first use is part of reading.
  mutable std::vector<int> slotOf_;    // field -> slot in a row, -1 when not fetched
  mutable std::vector<size_t> slots_;  // slot -> field
  mutable std::array<TSqliteStatement, fKinds> fetch_;
  mutable std::vector<TCell> cells_;  // count_ rows of slots_.size() cells
  mutable std::vector<int64_t> rowids_;
  mutable size_t count_ = 0;
  mutable size_t pos_ = 0;
  mutable bool more_ = false;  // the batch was full: more rows may follow

  std::map<std::vector<size_t>, TSqliteStatement> updates_;
  std::vector<size_t> lastColumns_;
  sqlite3_stmt* lastUpdate_ = nullptr;
};
