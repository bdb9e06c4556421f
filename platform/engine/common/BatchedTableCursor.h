// What the engines' table cursors share: a batch of rows read ahead, each with its row key and
// the cells of the fields fetched so far. Only the fields the program asks for are fetched:
// asking for another one adds it to the layout and reads the batch again from the current
// record (FetchFromCurrent). The key fields of the active index always come first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/EADSDatabaseError.h"

class TBatchedTableCursor : public TAceCursor {
 public:
  const std::vector<std::string>& FieldNames() const override { return fields_; }
  bool Eof() const override { return pos_ >= count_; }
  // Off the end: empty text and NULL.
  const std::string& FieldText(size_t field) const override;
  bool FieldIsNull(size_t field) const override;

 protected:
  struct TCell {
    std::string text;
    bool null = true;
    bool blob = false;  // stored as a BLOB (local server)
  };

  // Raises the engine error, after the engine's own housekeeping.
  [[noreturn]] virtual void Raise(const EADSDatabaseError& error) const = 0;
  // Reads a batch from the current record (rowids_[pos_] and its key cells) on.
  virtual void FetchFromCurrent() const = 0;
  // The layout of a row changed: statements built for the old one are stale.
  virtual void LayoutChanged() const {}
  // The table's name in messages.
  virtual const std::string& Table() const = 0;

  // Gives the key fields their slots; fields_ and keyFields_ are set.
  void LayOutKeys();
  void CheckField(size_t field) const;
  const TCell& Cell(size_t field) const;
  TCell* Row(size_t row) const { return cells_.data() + row * slots_.size(); }
  // Adds field to the layout and reads the batch again from the current record.
  void Want(size_t field) const;

  std::vector<std::string> fields_;
  std::vector<size_t> keyFields_;  // the active index's fields; empty: natural order
  // The batch. Mutable: fetching a field on first use is part of reading.
  mutable std::vector<int> slotOf_;    // field -> slot in a row, -1 when not fetched
  mutable std::vector<size_t> slots_;  // slot -> field
  mutable std::vector<TCell> cells_;   // count_ rows of slots_.size() cells
  mutable std::vector<int64_t> rowids_;
  mutable size_t count_ = 0;
  mutable size_t pos_ = 0;
  mutable bool more_ = false;  // the batch was full: more rows may follow
};
