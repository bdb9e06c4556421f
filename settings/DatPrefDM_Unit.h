// The preference store: one data module per process, created by the first SetTokenDataForUser
// and kept until the program units stop it. It reads the Pref rows of the system level "-2", the
// all-users level "-1" and one user's level in one query, converts each value by its type letter
// into a field of the preference records, then completes the derived values.
#pragma once

#include <exception>
#include <string>

#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"
#include "settings/PrefRecords.h"
#include "settings/PrefValue.h"

class TDatPrefDM : public TDataModule {
 public:
  TDatPrefDM();
  ~TDatPrefDM() override;  // DatPrefDMDestroy: closes every data set
  std::string ClassName() const override { return "TDatPrefDM"; }
  std::string UnitName() const override { return "DatPrefDM_Unit"; }

  TAdsTable DatPrefTbl{this, "DatPrefTbl"};  // Pref.adt on "PRIMARY"; the load does not use it
  TAdsQuery DatPrefQry{this, "DatPrefQry"};

  // Sets the records to their catalogue defaults (Kept records and starred fields excepted).
  void ResetPrefRecords();
  // Closes the query if open, builds the query for userId's level and opens it. The user id is
  // bound as a parameter, so any text is read as data.
  void OpenPrefQuery(const std::string& userId);
  // The load loop over the open query, then CompletePrefLoad, ApplyDocFolderDefaults, and the
  // query is closed. A failing row ends the load there with the query left on that row.
  void LoadPrefTokens();
  // The failure report of a load: the current row of query (or the closed-data-set text) and
  // the error, logged under "DisplayErr".
  void DisplayErr(TAdsQuery& query, const std::exception& e);

  const TPrefRecords& Records() const { return records_; }

 private:
  void CompletePrefLoad();
  void ApplyDocFolderDefaults();

  TPrefRecords records_;
};

// The store; none before the first SetTokenDataForUser.
TDatPrefDM* DatPrefDM();
// Creates the store when there is none.
TDatPrefDM& CreateDatPrefDM();
// Frees the store (program end, and a test's fresh start); the next load creates it anew.
void FreeDatPrefDM();

// A copy of the documents preference record; target is left as it was when there is no store.
void GetDocPref(TDocPref& target);
// A copy of the general preference record, by the same rule.
void GetGeneralPref(TGeneralPref& target);

// The tagged value of a Pref row's text under its type letter (upper-cased first). A text that
// does not parse under "I", "N", "T", "D" or "DT" raises EConvertError.
TPrefValue TokenValueToVariant(const std::string& tokenType, const std::string& value);

// The Pref query's text for a user level: the system rows, the all-users rows whose token the
// user has not set, and the user's rows, ordered by the upper-cased user id. The user id is the
// parameter :UserId (to be bound upper-cased).
std::string PrefQuerySql(const std::string& userId);
