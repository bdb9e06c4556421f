// The language data module: builds, once per process and on first need, the dictionary of the
// program language's records (TLangRec under their record ids), from the system language record
// in SysRec or, when the marker file "SysRecDisabled.Ini" lies in the program folder, from the
// Lang table, and overlays the user-edited texts of LangUser. All three are read through the main
// connection (DBConnectionDM.DBConnection). Once loaded the dictionary is never reloaded; a load
// that failed leaves the dictionary with what was added before the failure, and it is not tried
// again.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/BuildLanguage.h"
#include "common/Forms.h"
#include "platform/engine/AdsComponents.h"
#include "settings/DatManualKeyDictionary.h"
#include "settings/LangRec.h"
#include "settings/MemTable.h"

class TFieldsExtractor;

class TDatLangDM : public TDataModule {
 public:
  TDatLangDM();
  ~TDatLangDM() override;  // DatLangDMDestroy: frees the dictionary with its records
  std::string ClassName() const override { return "TDatLangDM"; }
  std::string UnitName() const override { return "DatLangDM_Unit"; }

  // Builds the dictionary unless it exists: the source rows, then the LangUser overlay; then
  // the queries are closed (also after a failure, which then leaves as an exception) and the
  // connection closes its cached tables.
  void LoadDictionary();
  void LoadFromLangTable();
  void LoadFromSysRec();
  // Splits the system language record's memo into LangTbl rows: line 1 names the columns, every
  // further line is one row.
  void FillLangTblFromSysRec();
  void OnHeaderField(TFieldsExtractor& sender, int fieldNo, const std::string& text);
  void OnValueField(TFieldsExtractor& sender, int fieldNo, const std::string& text);

  // None before the first load.
  TDatManualKeyDictionary* Dictionary() const { return dictionary_.get(); }
  // Drops the dictionary, so the next LoadDictionary builds it anew (test support).
  void FreeDictionary() { dictionary_.reset(); }

  TAdsQuery LangQry{this, "LangQry"};
  TAdsQuery LangUserQry{this, "LangUserQry"};
  TAdsQuery SysRecQry{this, "SysRecQry"};
  TAdsQuery UpdateLangQry{this, "UpdateLangQry"};  // part of the module; unused here
  TMemTable LangTbl;

 private:
  void OverlayUserTexts();
  void CloseQueries();

  std::unique_ptr<TDatManualKeyDictionary> dictionary_;
  std::vector<std::string> header_;  // during a system-record load
};

// The process-wide module; none until GetLangRec creates it.
extern constinit std::unique_ptr<TDatLangDM> DatLangDM;

// The format text with the language id as its single argument.
std::string FormatWithLangId(const std::string& format);
// The record stored under key (letter case aside), or an empty record; loads the dictionary on
// the first call. A load failure leaves as an exception, rec unchanged.
void GetLangRec(const std::string& key, TLangRec& rec);

// Stop step of the program units: frees the module with its dictionary.
void FreeDatLangDM();
// Reset: drops the dictionary and keeps the module, so the next GetLangRec loads again.
void FreeLangDictionary();
