#include "platform/engine/common/BatchedTableCursor.h"

namespace {
const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}
}  // namespace

void TBatchedTableCursor::LayOutKeys() {
  slotOf_.assign(fields_.size(), -1);
  slots_.clear();
  for (size_t f : keyFields_) {
    slotOf_[f] = static_cast<int>(slots_.size());
    slots_.push_back(f);
  }
}

void TBatchedTableCursor::CheckField(size_t field) const {
  if (field >= fields_.size())
    Raise(EADSDatabaseError("No such field in table " + Table(), AdsErrNoField, 0, Table()));
}

void TBatchedTableCursor::Want(size_t field) const {
  slotOf_[field] = static_cast<int>(slots_.size());
  slots_.push_back(field);
  LayoutChanged();
  if (Eof()) {
    count_ = pos_ = 0;
    cells_.clear();
    return;
  }
  // Refetch from the current record with the new field: a one-row batch in the new layout
  // carries the current key (key fields keep their slots) for the fetch to start from.
  const size_t oldWidth = slots_.size() - 1;
  std::vector<TCell> row(slots_.size());
  for (size_t f : keyFields_) row[slotOf_[f]] = cells_[pos_ * oldWidth + slotOf_[f]];
  const int64_t rowid = rowids_[pos_];
  cells_.swap(row);
  rowids_.assign(1, rowid);
  pos_ = 0;
  count_ = 1;
  FetchFromCurrent();
}

const TBatchedTableCursor::TCell& TBatchedTableCursor::Cell(size_t field) const {
  CheckField(field);
  if (slotOf_[field] < 0) Want(field);
  return Row(pos_)[slotOf_[field]];
}

const std::string& TBatchedTableCursor::FieldText(size_t field) const {
  if (Eof()) {
    CheckField(field);
    return EmptyText();
  }
  return Cell(field).text;
}

bool TBatchedTableCursor::FieldIsNull(size_t field) const {
  if (Eof()) {
    CheckField(field);
    return true;
  }
  return Cell(field).null;
}
