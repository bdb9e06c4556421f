// TMemTable: an in-memory table of named columns, rows kept in insertion order. A row is
// inserted, its fields set from text, and posted; reading walks the rows from the first. Each
// value is converted by its column's kind when set: a text column keeps at most its size in
// characters (whole UTF-8 characters, so a Hebrew text is never cut inside a letter), an
// integer column takes 0 for an empty text and otherwise the text as a number (EConvertError
// when it is none), a boolean column is true for "Y" or "TRUE" in any case.
#pragma once

#include <string>
#include <vector>

#include "common/Classes.h"

enum class TMemFieldKind { Text, Integer, Boolean };

struct TMemFieldDef {
  std::string Name;
  TMemFieldKind Kind = TMemFieldKind::Text;
  size_t Size = 0;  // text columns: the most characters kept
};

class TMemTable : public TComponent {
 public:
  TMemTable(TComponent* owner, std::string name, std::vector<TMemFieldDef> fields);
  std::string ClassName() const override { return "TkbmMemTable"; }
  std::string UnitName() const override { return "kbmMemTable"; }

  const std::vector<TMemFieldDef>& Fields() const { return fields_; }
  // Opens the table empty; Close drops its rows.
  void Open();
  void Close();
  bool Active() const { return active_; }

  // Starts a new row with every field empty; Post appends it after the others.
  void Insert();
  // Sets a field of the inserted row; EDatabaseError when the table has no such column.
  void SetFieldFromText(const std::string& name, const std::string& text);
  void Post();

  void First() { row_ = 0; }
  void Next() {
    if (row_ < rows_.size()) ++row_;
  }
  bool Eof() const { return row_ >= rows_.size(); }
  size_t RecordCount() const { return rows_.size(); }
  // A field of the current row as text; EDatabaseError for no such column or no current row.
  const std::string& FieldText(const std::string& name) const;

 private:
  size_t FieldIndex(const std::string& name) const;
  void CheckActive() const;

  std::vector<TMemFieldDef> fields_;
  std::vector<std::vector<std::string>> rows_;
  std::vector<std::string> inserted_;
  bool inserting_ = false;
  bool active_ = false;
  size_t row_ = 0;
};
