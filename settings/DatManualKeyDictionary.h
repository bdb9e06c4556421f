// TDatManualKeyDictionary: the dictionary whose caller names each item's key when adding it.
// The first item of a key stays; a later one is refused and stays its caller's.
#pragma once

#include <memory>
#include <string>

#include "settings/DatStDictionary.h"

class TDatManualKeyDictionary : public TDatStDictionary {
 public:
  using TDatStDictionary::TDatStDictionary;
  ~TDatManualKeyDictionary() override { DisposeAll(); }
  std::string ClassName() const override { return "TDatManualKeyDictionary"; }

  // Stores item under key and takes it (item becomes empty) when the key is new; otherwise, or
  // when storing fails (logged as <class name>.Add), answers false and item stays the caller's.
  bool Add(const std::string& key, std::unique_ptr<TObject>& item);
};
