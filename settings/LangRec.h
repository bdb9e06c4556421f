// TLangRec: one language record, the six texts of a record id in the product's order.
#pragma once

#include <string>

#include "common/Classes.h"

class TLangRec : public TObject {
 public:
  std::string ClassName() const override { return "TLangRec"; }
  std::string UnitName() const override { return "DatLangDM_Unit"; }

  std::string RECID;
  std::string NAME;
  std::string LABEL;
  std::string COLUMNTITLE;
  std::string HINT;
  std::string VALUE;

  bool operator==(const TLangRec& other) const {
    return RECID == other.RECID && NAME == other.NAME && LABEL == other.LABEL &&
           COLUMNTITLE == other.COLUMNTITLE && HINT == other.HINT && VALUE == other.VALUE;
  }
};
