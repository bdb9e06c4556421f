// A table walked in batches: each batch is one short SELECT of the next rows after the last
// key read (rowid order, or the active index's key then rowid), so the table is never loaded
// whole and no read statement stays open between batches. Only the columns the program has
// asked for are fetched; asking for another one refetches the batch from the current record.
// Posts run one cached UPDATE per set of changed columns; it is a compare-and-set: it writes only
// while each changed column that was read still holds the value read (another station's edit is
// never overwritten), and a value read as a BLOB is written back as a BLOB.
//
// A journalling cursor (JournalPosts) writes one journal row per changed field in the
// same posting transaction as its UPDATE (SqliteJournalWriter.h). When that insert fails, the
// open group is rolled back whole, so no record of it stays posted without its journal row.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/common/BatchedTableCursor.h"
#include "platform/engine/sqlite/SqliteConnection.h"
#include "platform/engine/sqlite/SqliteJournalWriter.h"
#include "platform/engine/sqlite/SqliteSupport.h"
#include "platform/engine/sqlite/SqliteTableLock.h"

class TSqliteTableCursor : public TBatchedTableCursor {
 public:
  TSqliteTableCursor(TSqliteConnection& connection, const std::string& tableName,
                     const TAceTableOptions& options);
  ~TSqliteTableCursor() override;

  void First() override;
  void Next() override;
  void Post(const std::vector<std::pair<size_t, std::string>>& changes) override;
  bool Refresh() override;
  void Close() override;
  int64_t CommittedPosts() const override { return tally_.Committed; }
  int64_t RecordCount() override;
  bool Seek(const std::string& key) override;
  void JournalPosts(const TAcePostJournal& journal) override;

 private:
  static constexpr int kBatchRows = 1024;
  enum TFetch { fFirst, fAfter, fFrom, fSeek, fKinds };
  // An UPDATE for a set of changed columns; compared: which of them were read (and are compared).
  using TUpdateKey = std::pair<std::vector<size_t>, std::vector<bool>>;

  [[noreturn]] void Raise(const EADSDatabaseError& error) const final;
  void FetchFromCurrent() const override { Fetch(fFrom); }
  void LayoutChanged() const override;
  const std::string& Table() const override { return table_; }
  sqlite3_stmt* FetchStatement(TFetch kind) const;
  // Reads the next batch; fAfter and fFrom bind the current record's key, fSeek the key text.
  void Fetch(TFetch kind, const std::string* seekKey = nullptr) const;
  // Reads one row's cells from a statement whose column 1 is the first slot.
  static void ReadCells(sqlite3_stmt* stmt, TCell* row, size_t width);
  sqlite3_stmt* UpdateStatement(const std::vector<std::pair<size_t, std::string>>& changes);
  // After an UPDATE that changed nothing: why (the record is gone, or holds other values).
  [[noreturn]] void RaiseNotPosted();
  // Hands the journal the rows of the post just made (old values still in the batch).
  void WriteJournal(const std::vector<std::pair<size_t, std::string>>& changes);

  TSqliteConnection& connection_;
  std::string table_;
  std::unique_ptr<TSqliteTableLock> lock_;  // held while the table is open
  bool readOnly_;
  mutable std::array<TSqliteStatement, fKinds> fetch_;

  std::map<TUpdateKey, TSqliteStatement> updates_;
  TUpdateKey lastKey_;
  sqlite3_stmt* lastUpdate_ = nullptr;
  mutable TSqliteStatement reread_;  // the current record by rowid
  TSqlitePostTally tally_;

  std::unique_ptr<TSqliteJournalWriter> journal_;  // while journalling
  size_t recIdField_ = 0;
};
