// The currency lookup of the preference completion: the currency table, read-only on its primary
// index, open while the module lives.
#pragma once

#include <string>

#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"

class TDatCoinDBServicesDM : public TDataModule {
 public:
  TDatCoinDBServicesDM();  // opens the table (EADSDatabaseError when it cannot)
  ~TDatCoinDBServicesDM() override;
  std::string ClassName() const override { return "TDatCoinDBServicesDM"; }
  std::string UnitName() const override { return "DatCoinDBServices_Unit"; }

  TAdsTable valtblacoinTbl{this, "valtblacoinTbl"};

  // VALUE and EVALUE of the currency whose RECID is coinId; empty when there is none.
  std::string GetCoinValue(int32_t coinId);
  std::string GetCoinEValue(int32_t coinId);

 private:
  std::string CoinColumn(int32_t coinId, const char* column);
};
