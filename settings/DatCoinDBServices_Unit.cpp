#include "settings/DatCoinDBServices_Unit.h"
#include "db/DatGenDBConnectionDM.h"

TDatCoinDBServicesDM::TDatCoinDBServicesDM() : TDataModule(nullptr, "DatCoinDBServicesDM") {
  valtblacoinTbl.DatabaseName = MainConnectionLaidOut;
  valtblacoinTbl.TableName = "valtblacoin.ADT";
  valtblacoinTbl.IndexName = "PRIMARY";
  valtblacoinTbl.ReadOnly = true;
  valtblacoinTbl.Open();
}

TDatCoinDBServicesDM::~TDatCoinDBServicesDM() {
  valtblacoinTbl.Close();
}

std::string TDatCoinDBServicesDM::GetCoinValue(int32_t coinId) {
  return CoinColumn(coinId, "VALUE");
}

std::string TDatCoinDBServicesDM::GetCoinEValue(int32_t coinId) {
  return CoinColumn(coinId, "EVALUE");
}

std::string TDatCoinDBServicesDM::CoinColumn(int32_t coinId, const char* column) {
  const std::string key = std::to_string(coinId);
  if (!valtblacoinTbl.Eof() && valtblacoinTbl.FieldByName("RECID").AsString() == key)
    return valtblacoinTbl.FieldByName(column).AsString();
  if (valtblacoinTbl.Seek(key)) return valtblacoinTbl.FieldByName(column).AsString();
  return {};
}
