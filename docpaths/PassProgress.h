// Progress of a pass for its observer: the total once at the start, then every few thousand
// records and at the end, so watching costs nothing per record.
#pragma once

#include <cstdint>

#include "docpaths/DatDocsDBServices.h"

class TPassProgress {
 public:
  // Counts the table's records only when someone watches.
  TPassProgress(TRewriteObserver* observer, TAdsDataSet& table)
      : observer_(observer), total_(observer ? table.RecordCount() : 0) {
    if (observer_) observer_->Progress(0, total_);
  }
  void Step(int64_t done) {
    if (observer_ && (done & (kEvery - 1)) == 0) observer_->Progress(done, total_);
  }
  void Finish(int64_t done) {
    if (observer_ && (done & (kEvery - 1)) != 0) observer_->Progress(done, total_);
  }

 private:
  static constexpr int64_t kEvery = 4096;
  TRewriteObserver* observer_;
  int64_t total_;
};
