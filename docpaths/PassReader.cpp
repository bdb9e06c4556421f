#include "docpaths/PassReader.h"

namespace {

TAdsTable& Opened(TAdsTable& table, const TPathPass& pass) {
  BindPassTable(table, pass);
  table.RightsChecking = false;
  table.ReadOnly = true;
  table.Open();
  table.First();
  return table;
}

}  // namespace

TPassReader::TPassReader(const TPathPass& pass, TRewriteObserver* observer)
    : field_(Opened(table_, pass).FieldByName(pass.Field)), progress_(observer, table_) {}

void TPassReader::Close() {
  progress_.Finish(read_);
  table_.Close();
}
