// An installation for one app test: the CRM test installation (fresh database, fakes, engine)
// and the exception manager, as the programs' units create it, with the documents and cards the
// test seeds and a way to make a record's update fail.
#pragma once

#include <string>
#include <vector>

#include "log/ExceptionManager.h"
#include "settings/DatLangDM_Unit.h"
#include "settings/DatPrefDM_Unit.h"
#include "tests/support/CrmTestInstall.h"

class TAppTestInstallation : public TCrmTestInstall {
 public:
  explicit TAppTestInstallation(const std::string& programName)
      : TCrmTestInstall(true, programName) {
    CreateHEMgr();
  }
  ~TAppTestInstallation() {  // the window's creation made the store (and the dictionary)
    FreeDatPrefDM();
    FreeDatLangDM();
    FreeHEMgr();
  }

  // Replaces every document and card with these (RECID 1, 2, ... in order).
  void Seed(const std::vector<std::string>& documentNames,
            const std::vector<std::string>& cardFolders) const;
  std::vector<std::string> DocumentNames() const { return Column("Docs", "DOCUMENT_NAME"); }
  std::vector<std::string> CardFolders() const { return Column("Cards", "DOCSFOLDER"); }
  // Adds one Pref row.
  void Pref(const std::string& user, const std::string& token, const std::string& type,
            const std::string& value) const;
  // Makes every update of the table's record with this RECID fail (an engine error).
  void FailUpdatesOf(const std::string& table, int recid) const;
};

// The SQL text literal of value.
std::string SqlText(const std::string& value);
