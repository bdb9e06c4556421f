// The rows of a query: one statement stepped row by row; read-only.
#pragma once

#include <string>
#include <vector>

#include "platform/AceDriver.h"
#include "platform/engine/sqlite/SqliteSupport.h"

class TSqliteConnection;

class TSqliteQueryCursor : public TAceCursor {
 public:
  TSqliteQueryCursor(TSqliteConnection& connection, const std::string& sql,
                     const TAceParams& params);

  const std::vector<std::string>& FieldNames() const override { return fields_; }
  bool Eof() const override { return eof_; }
  void First() override;
  void Next() override;
  const std::string& FieldText(size_t field) const override;
  bool FieldIsNull(size_t field) const override;
  void Post(const std::vector<std::pair<size_t, std::string>>& changes) override;
  int64_t RecordCount() override;
  bool Seek(const std::string& key) override;

 private:
  void Step();
  void CheckField(size_t field) const;

  TSqliteConnection& connection_;
  std::string sql_;
  TAceParams params_;
  TSqliteStatement stmt_;
  std::vector<std::string> fields_;
  std::vector<std::string> values_;
  std::vector<char> nulls_;
  bool eof_ = true;
};
