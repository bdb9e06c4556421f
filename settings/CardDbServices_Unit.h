// The company lookup of the preference completion: one data module per process, created on
// first use, with the Cards table on its primary index.
#pragma once

#include <string>

#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"

class TCardDbServicesDM : public TDataModule {
 public:
  TCardDbServicesDM();
  std::string ClassName() const override { return "TCardDbServicesDM"; }
  std::string UnitName() const override { return "CardDbServices_Unit"; }

  TAdsTable DatCardsTbl{this, "DatCardsTbl"};

  // The COMPANY of the card whose RECID is cardId; empty when there is none.
  std::string GetCardCompany(const std::string& cardId);
};

// Creates the module when there is none.
TCardDbServicesDM& CardDbServicesDM();
void FreeCardDbServicesDM();
