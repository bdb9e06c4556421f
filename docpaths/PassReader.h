// The dry readings of a pass's table (the pre-flight report, the stored-folder survey): the
// table opened read-only on the main connection, the pass's field read record by record in
// natural order, the observer told the progress. Nothing is locked or written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "docpaths/PassProgress.h"
#include "docpaths/PathPasses.h"

class TPassReader {
 public:
  // Opens the table at its first record; failures propagate.
  TPassReader(const TPathPass& pass, TRewriteObserver* observer);

  bool Eof() const { return table_.Eof(); }
  const std::string& Value() { return field_.AsString(); }
  void Next() {
    progress_.Step(++read_);
    table_.Next();
  }
  // How many characters the field holds, when the engine enforces a width.
  std::optional<size_t> Width() { return field_.Width(); }
  // The last progress, and the table closed.
  void Close();

 private:
  TAdsTable table_{nullptr, ""};
  TAdsField& field_;
  TPassProgress progress_;
  int64_t read_ = 0;
};
