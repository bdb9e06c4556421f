#include "settings/CardDbServices_Unit.h"
#include "db/DatGenDBConnectionDM.h"

#include <memory>

namespace {
// Made on first use; freed by FreeCardDbServicesDM (the preferences unit's stop step).
constinit std::unique_ptr<TCardDbServicesDM> instance;
}  // namespace

TCardDbServicesDM::TCardDbServicesDM() : TDataModule(nullptr, "CardDbServicesDM") {
  DatCardsTbl.DatabaseName = MainConnectionLaidOut;
  DatCardsTbl.TableName = "Cards.adt";
  DatCardsTbl.IndexName = "PRIMARY";
}

std::string TCardDbServicesDM::GetCardCompany(const std::string& cardId) {
  if (!DatCardsTbl.Active()) DatCardsTbl.Open();
  if (DatCardsTbl.IndexName != "PRIMARY") {
    DatCardsTbl.Close();
    DatCardsTbl.IndexName = "PRIMARY";
    DatCardsTbl.Open();
  }
  if (!DatCardsTbl.Eof() && DatCardsTbl.FieldByName("RECID").AsString() == cardId)
    return DatCardsTbl.FieldByName("COMPANY").AsString();
  if (DatCardsTbl.Seek(cardId)) return DatCardsTbl.FieldByName("COMPANY").AsString();
  return {};
}

TCardDbServicesDM& CardDbServicesDM() {
  if (!instance) instance = std::make_unique<TCardDbServicesDM>();
  return *instance;
}

void FreeCardDbServicesDM() {
  instance.reset();
}
