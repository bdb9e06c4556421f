// The rows of a query on the remote server: the statement runs once with its values bound and
// its whole result is held (one round trip; the program's queries read small lookups); read-only.
#pragma once

#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/postgres/PgSupport.h"

class TPgConnection;

class TPgQueryCursor : public TAceCursor {
 public:
  TPgQueryCursor(TPgConnection& connection, const std::string& sql, const TAceParams& params);

  const std::vector<std::string>& FieldNames() const override { return fields_; }
  bool Eof() const override { return row_ >= rows_; }
  void First() override;
  void Next() override;
  const std::string& FieldText(size_t field) const override;
  bool FieldIsNull(size_t field) const override;
  void Post(const std::vector<std::pair<size_t, std::string>>& changes) override;
  int64_t RecordCount() override { return rows_; }
  bool Seek(const std::string& key) override;

 private:
  void Load();
  void CheckField(size_t field) const;

  TPgConnection& connection_;
  TPgResult result_;
  std::vector<std::string> fields_;
  std::vector<std::string> values_;  // the current row
  int rows_ = 0;
  int row_ = 0;
};
