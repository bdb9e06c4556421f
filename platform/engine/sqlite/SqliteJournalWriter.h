// The undo journal rows of one table cursor's posts (see TAcePostJournal). Inside the
// connection's posting group the rows are held and inserted kRowsPerInsert at a time with one
// multi-row INSERT, the rest just before the group commits; a group rolled back takes its held
// rows with it. Inside an explicit transaction each row is inserted at once. Either way a row
// is in the same transaction as its post, so a crash leaves both or neither.
#pragma once

#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/sqlite/SqliteConnection.h"
#include "platform/engine/sqlite/SqliteSupport.h"

class TSqliteJournalWriter : public TSqliteGroupRows {
 public:
  // EADSDatabaseError when the database has no usable journal table.
  TSqliteJournalWriter(TSqliteConnection& connection, const TAcePostJournal& journal);
  ~TSqliteJournalWriter() override;
  TSqliteJournalWriter(const TSqliteJournalWriter&) = delete;
  TSqliteJournalWriter& operator=(const TSqliteJournalWriter&) = delete;

  // The row of one changed field of the post just made; the old value (nullptr: NULL) is taken
  // over, leaving its string with an unspecified value. On failure the open group is rolled
  // back whole (counting the post just made, not yet tallied) and EADSDatabaseError says so.
  void Add(const std::string& recId, const std::string& fieldName, std::string* oldValue,
           const std::string& newValue);

  void WriteHeld() override;
  void DropHeld() noexcept override { held_ = 0; }

 private:
  static constexpr size_t kRowsPerInsert = 64;
  struct TRow {
    std::string recId;
    const std::string* fieldName;  // the cursor's field name, alive as long as the cursor
    std::string oldValue;
    bool oldNull;
    std::string newValue;
  };

  // Inserts rows_[first, first + count) with the statement for count rows.
  void Insert(sqlite3_stmt* stmt, size_t first, size_t count);

  TSqliteConnection& connection_;
  TAcePostJournal journal_;
  TSqliteStatement single_;
  TSqliteStatement multi_;  // prepared at the first full batch
  std::vector<TRow> rows_;  // reused: the strings keep their room from batch to batch
  size_t held_ = 0;
};
