#include "platform/engine/postgres/PgQueryCursor.h"

#include "platform/engine/postgres/PgConnection.h"
#include "platform/engine/postgres/PgNamedParams.h"

TPgQueryCursor::TPgQueryCursor(TPgConnection& connection, const std::string& sql,
                               const TAceParams& params)
    : connection_(connection) {
  const TPgStatementText statement = NumberNamedParams(sql);
  result_ = connection_.Exec(statement.Sql, ParamValues(statement, params), "The query failed");
  const int columns = PQnfields(result_.get());
  for (int c = 0; c < columns; ++c) fields_.push_back(PgFieldName(PQfname(result_.get(), c)));
  rows_ = PQntuples(result_.get());
  values_.resize(fields_.size());
  Load();
}

void TPgQueryCursor::Load() {
  for (size_t c = 0; c < fields_.size(); ++c) {
    if (Eof()) {
      values_[c].clear();
      continue;
    }
    const int column = static_cast<int>(c);
    values_[c].assign(PQgetvalue(result_.get(), row_, column),
                      PQgetlength(result_.get(), row_, column));
  }
}

void TPgQueryCursor::First() {
  row_ = 0;
  Load();
}

void TPgQueryCursor::Next() {
  if (Eof()) return;
  ++row_;
  Load();
}

void TPgQueryCursor::CheckField(size_t field) const {
  if (field >= fields_.size())
    connection_.Raise(EADSDatabaseError("No such field in the query", AdsErrNoField));
}

const std::string& TPgQueryCursor::FieldText(size_t field) const {
  CheckField(field);
  return values_[field];
}

bool TPgQueryCursor::FieldIsNull(size_t field) const {
  CheckField(field);
  return Eof() || PQgetisnull(result_.get(), row_, static_cast<int>(field));
}

void TPgQueryCursor::Post(const std::vector<std::pair<size_t, std::string>>&) {
  connection_.Raise(EADSDatabaseError("The rows of a query are read-only", AdsErrReadOnly));
}

bool TPgQueryCursor::Seek(const std::string&) {
  connection_.Raise(EADSDatabaseError("A query has no index to seek on", AdsErrNoIndex));
}
