// TFieldsExtractor: splits one line of quoted fields, such as the lines of the system language
// record and the web help links. Fields are quoted; text outside quotes is ignored; there is no
// escape for a quote inside a value. A quote closes a field only when, after blanks, the line
// ends, or a separator follows and after it, after blanks, the line ends or a quote follows; any
// other quote belongs to the value.
#pragma once

#include <functional>
#include <string>

#include "common/Classes.h"

class TFieldsExtractor : public TObject {
 public:
  // Receives the extractor, the field number (from 1) and the field text.
  using TFieldEvent =
      std::function<void(TFieldsExtractor& sender, int fieldNo, const std::string& text)>;

  TFieldsExtractor() = default;
  ~TFieldsExtractor() override { OnField = nullptr; }
  TFieldsExtractor(const TFieldsExtractor&) = delete;
  TFieldsExtractor& operator=(const TFieldsExtractor&) = delete;

  std::string ClassName() const override { return "TFieldsExtractor"; }
  std::string UnitName() const override { return "FieldsExtractor"; }

  // Sets the quote and the separator (one character each in every use) and clears OnField.
  void SetDelimiters(const std::string& quote, const std::string& separator);
  // Hands every field of the line to OnField, in order; without a handler each field is logged.
  void ExtractFieldsFromRec(const std::string& line);

  TFieldEvent OnField;

 private:
  bool IsClosingQuote(const std::string& line, size_t afterQuote) const;
  void Deliver(int fieldNo, const std::string& text);

  std::string quote_ = "\"";
  std::string separator_ = ",";
};
