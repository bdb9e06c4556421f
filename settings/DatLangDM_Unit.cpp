#include "settings/DatLangDM_Unit.h"

#include "common/FileUtils.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "db/DatGenDBConnectionDM.h"
#include "host/SysFolders.h"
#include "ui/FieldsExtractor.h"

constinit std::unique_ptr<TDatLangDM> DatLangDM;

namespace {

constexpr size_t kDictionarySize = 300;
const char* const kMarkerFile = "SysRecDisabled.Ini";
const char* const kHebrewSysRec = "SYSRECLANGHEBZZZZZZZ";
const char* const kEnglishSysRec = "SYSRECLANGENGZZZZZZZ";

std::vector<TMemFieldDef> LangColumns() {
  return {{"LANGID", TMemFieldKind::Text, 15},     {"RECID", TMemFieldKind::Text, 20},
          {"HINT", TMemFieldKind::Text, 250},      {"NAME", TMemFieldKind::Text, 50},
          {"VALUE", TMemFieldKind::Text, 150},     {"LABEL", TMemFieldKind::Text, 250},
          {"COLUMNTITLE", TMemFieldKind::Text, 50}};
}

// The lines of a memo as a string list takes them: CR LF, LF or CR ends a line; a break at the
// very end adds no empty line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The six texts of the current row, read by column name.
template <typename TFieldText>
void ReadLangRec(TLangRec& rec, TFieldText&& text) {
  rec.RECID = text("RECID");
  rec.NAME = text("NAME");
  rec.LABEL = text("LABEL");
  rec.COLUMNTITLE = text("COLUMNTITLE");
  rec.HINT = text("HINT");
  rec.VALUE = text("VALUE");
}

// Adds a record made from the current row under its RECID; when the id is present already, the
// new record is dropped and the first one stays.
template <typename TFieldText>
void AddRecord(TFieldText&& text, TDatManualKeyDictionary& dictionary) {
  auto rec = std::make_unique<TLangRec>();
  ReadLangRec(*rec, text);
  const std::string key = rec->RECID;
  std::unique_ptr<TObject> item = std::move(rec);
  dictionary.Add(key, item);
}

template <typename TRows, typename TFieldText>
void AddRows(TRows& rows, TFieldText&& text, TDatManualKeyDictionary& dictionary) {
  for (rows.First(); !rows.Eof(); rows.Next()) AddRecord(text, dictionary);
}

}  // namespace

TDatLangDM::TDatLangDM()
    : TDataModule(nullptr, "DatLangDM"), LangTbl(this, "LangTbl", LangColumns()) {
  for (TAdsQuery* query : {&LangQry, &LangUserQry, &SysRecQry, &UpdateLangQry})
    query->DatabaseName = MainConnectionLaidOut;
  LangQry.SQL = "select * from Lang where LangId =:LangId";
  LangUserQry.SQL = "select * from LangUser\r\nwhere LangId =:LangId";
  SysRecQry.SQL = "select * from SysRec where recid =:RecId";
}

TDatLangDM::~TDatLangDM() {
  dictionary_.reset();
}

void TDatLangDM::LoadDictionary() {
  if (dictionary_) return;
  dictionary_ = std::make_unique<TDatManualKeyDictionary>(kDictionarySize);
  dictionary_->OnDisposeData = [](TObject* item) { delete static_cast<TLangRec*>(item); };
  try {
    if (FileExists(ProgramModuleFolder() + kMarkerFile))
      LoadFromLangTable();
    else
      LoadFromSysRec();
    OverlayUserTexts();
  } catch (...) {
    CloseQueries();
    throw;
  }
  CloseQueries();
  if (TDBConnectionDM* connection = DBConnectionDM()) connection->DBConnection.CloseCachedTables();
}

void TDatLangDM::CloseQueries() {
  for (TAdsQuery* query : {&LangQry, &LangUserQry, &SysRecQry}) {
    query->Close();
    query->Unprepare();
  }
  LangTbl.Close();
}

void TDatLangDM::LoadFromLangTable() {
  LangQry.SetParam("LANGID", GetLangId());
  if (!LangQry.Active()) LangQry.Open();
  AddRows(
      LangQry, [&](const char* name) { return LangQry.FieldByName(name).AsString(); },
      *dictionary_);
}

void TDatLangDM::LoadFromSysRec() {
  LangTbl.Open();
  FillLangTblFromSysRec();
  AddRows(
      LangTbl, [&](const char* name) { return LangTbl.FieldText(name); }, *dictionary_);
}

void TDatLangDM::OverlayUserTexts() {
  LangUserQry.SetParam("LANGID", GetLangId());
  if (!LangUserQry.Active()) LangUserQry.Open();
  auto text = [&](const char* name) { return LangUserQry.FieldByName(name).AsString(); };
  for (LangUserQry.First(); !LangUserQry.Eof(); LangUserQry.Next()) {
    TObject* item = nullptr;
    if (dictionary_->GetItemByKey(text("RECID"), item))
      ReadLangRec(*static_cast<TLangRec*>(item), text);
    else
      AddRecord(text, *dictionary_);
  }
}

void TDatLangDM::FillLangTblFromSysRec() {
  SysRecQry.Close();
  const std::string recId = GetLangId() == kHebrewLangId ? kHebrewSysRec : kEnglishSysRec;
  SysRecQry.SetParam("RecId", recId);
  SysRecQry.Open();
  if (SysRecQry.Eof())
    throw EDatabaseError("The system language record " + recId + " is missing from SysRec");
  const std::vector<std::string> lines = SplitLines(SysRecQry.FieldByName("MEMO").AsString());
  SysRecQry.Close();  // the memo is read; no read stays open on the database
  header_.clear();
  TFieldsExtractor extractor;
  extractor.SetDelimiters("\"", ",");
  extractor.OnField = [this](TFieldsExtractor& sender, int fieldNo, const std::string& text) {
    OnHeaderField(sender, fieldNo, text);
  };
  if (!lines.empty()) extractor.ExtractFieldsFromRec(lines.front());
  extractor.OnField = [this](TFieldsExtractor& sender, int fieldNo, const std::string& text) {
    OnValueField(sender, fieldNo, text);
  };
  try {
    for (size_t i = 1; i < lines.size(); ++i) {
      LangTbl.Insert();
      extractor.ExtractFieldsFromRec(lines[i]);
      LangTbl.Post();
    }
  } catch (...) {
    header_.clear();
    throw;
  }
  header_.clear();
}

void TDatLangDM::OnHeaderField(TFieldsExtractor&, int, const std::string& text) {
  header_.push_back(text);
}

void TDatLangDM::OnValueField(TFieldsExtractor&, int fieldNo, const std::string& text) {
  if (fieldNo < 1 || static_cast<size_t>(fieldNo) > header_.size())
    throw EDatabaseError(
        Format("LangTbl: value %d of a language line has no column in the header", {fieldNo}));
  LangTbl.SetFieldFromText(header_[fieldNo - 1], text);
}

std::string FormatWithLangId(const std::string& format) {
  return Format(format, {GetLangId()});
}

void GetLangRec(const std::string& key, TLangRec& rec) {
  if (!DatLangDM) DatLangDM = std::make_unique<TDatLangDM>();
  DatLangDM->LoadDictionary();
  TObject* item = nullptr;
  if (DatLangDM->Dictionary()->GetItemByKey(key, item))
    rec = *static_cast<TLangRec*>(item);
  else
    rec = TLangRec();
}

void FreeDatLangDM() {
  DatLangDM.reset();
}

void FreeLangDictionary() {
  if (DatLangDM) DatLangDM->FreeDictionary();
}
