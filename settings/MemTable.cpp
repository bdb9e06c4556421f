#include "settings/MemTable.h"

#include "common/StrUtils.h"
#include "common/SysUtils.h"

TMemTable::TMemTable(TComponent* owner, std::string name, std::vector<TMemFieldDef> fields)
    : TComponent(owner, std::move(name)), fields_(std::move(fields)) {}

void TMemTable::Open() {
  rows_.clear();
  inserting_ = false;
  row_ = 0;
  active_ = true;
}

void TMemTable::Close() {
  rows_.clear();
  inserting_ = false;
  active_ = false;
}

void TMemTable::CheckActive() const {
  if (!active_)
    throw EDatabaseError(Name() + ": Cannot perform this operation on a closed dataset");
}

size_t TMemTable::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (SameText(fields_[i].Name, name)) return i;
  throw EDatabaseError(Name() + ": Field '" + name + "' not found");
}

void TMemTable::Insert() {
  CheckActive();
  inserted_.assign(fields_.size(), std::string());
  inserting_ = true;
}

void TMemTable::SetFieldFromText(const std::string& name, const std::string& text) {
  if (!inserting_) throw EDatabaseError(Name() + ": Dataset not in edit or insert mode");
  const size_t index = FieldIndex(name);
  const TMemFieldDef& field = fields_[index];
  switch (field.Kind) {
    case TMemFieldKind::Boolean: {
      const std::string upper = UpperCase(text);
      inserted_[index] = upper == "Y" || upper == "TRUE" ? "True" : "False";
      break;
    }
    case TMemFieldKind::Integer:
      inserted_[index] = text.empty() ? "0" : std::to_string(StrToInt(text));
      break;
    case TMemFieldKind::Text:
      inserted_[index] = FirstUtf8Chars(text, field.Size);
      break;
  }
}

void TMemTable::Post() {
  if (!inserting_) throw EDatabaseError(Name() + ": Dataset not in edit or insert mode");
  rows_.push_back(std::move(inserted_));
  inserted_.clear();
  inserting_ = false;
}

const std::string& TMemTable::FieldText(const std::string& name) const {
  CheckActive();
  const size_t index = FieldIndex(name);
  if (Eof()) throw EDatabaseError(Name() + ": There is no current record");
  return rows_[row_][index];
}
