#include "settings/DatPrefDM_Unit.h"

#include <memory>
#include <unordered_map>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "common/StrUtils.h"
#include "common/SysUtils.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/PrefTypes.h"
#include "host/DateParse.h"
#include "host/SysFolders.h"
#include "log/EventLog.h"
#include "settings/CardDbServices_Unit.h"
#include "settings/DatCoinDBServices_Unit.h"
#include "settings/PrefCatalogue.h"
#include "settings/PrefDateFormats.h"
#include "settings/PrefLanguage.h"

namespace {

// Made on first use; freed by FreeDatPrefDM (the preferences unit's stop step).
constinit std::unique_ptr<TDatPrefDM> instance;

// Parses text under parse, writes it with format and parses the result again, so the value is
// what the process formats can show.
TDateTime Reparse(TDateTime (*parse)(const std::string&), const std::string& format,
                  const std::string& text) {
  return parse(FormatDateTime(format, parse(text)));
}

}  // namespace

TDatPrefDM::TDatPrefDM() : TDataModule(nullptr, "DatPrefDM") {
  DatPrefTbl.DatabaseName = MainConnectionLaidOut;
  DatPrefTbl.TableName = "Pref.adt";
  DatPrefTbl.IndexName = "PRIMARY";
  DatPrefQry.DatabaseName = MainConnectionLaidOut;
}

TDatPrefDM::~TDatPrefDM() {
  DatPrefQry.Close();
  DatPrefTbl.Close();
}

void TDatPrefDM::ResetPrefRecords() {
  ::ResetPrefRecords(records_);
}

std::string PrefQuerySql(const std::string& userId) {
  std::string sql =
      "Select * From Pref\nWhere UPPER(\nUSER_ID) = '-2' \nOR (UPPER(\nUSER_ID) = '-1'\n";
  sql += userId == "-1"
             ? ")"
             : "and not TOKEN in (select TOKEN from pref where upper(USER_ID) = :UserId)) ";
  sql += "\nOR UPPER(\nUSER_ID) = :UserId\nOrder By UPPER(USER_ID)";
  return sql;
}

void TDatPrefDM::OpenPrefQuery(const std::string& userId) {
  if (DatPrefQry.Active()) DatPrefQry.Close();
  DatPrefQry.SQL = PrefQuerySql(userId);
  DatPrefQry.SetParam("UserId", UpperCase(userId));
  DatPrefQry.Prepare();
  DatPrefQry.Open();
}

TPrefValue TokenValueToVariant(const std::string& tokenType, const std::string& value) {
  if (IsTextPrefType(tokenType)) return value;
  const std::string letter = UpperCase(tokenType);
  if (letter == "I") {
    const int64_t number = StrToInt(value);
    if (number < INT32_MIN || number > INT32_MAX)
      throw EConvertError("'" + value + "' is not a valid integer value");
    return number;
  }
  if (letter == "B") return UpperCase(value) == "Y";
  if (letter == "N") return StrToFloat(value);
  const TFormatSettings& settings = FormatSettings();
  if (letter == "T") return Reparse(StrToTime, settings.ShortTimeFormat, value);
  if (letter == "D") return Reparse(StrToDate, settings.ShortDateFormat, value);
  if (letter == "DT")
    return TPrefDateTime{
        Reparse(StrToDateTime, settings.ShortDateFormat + " " + settings.ShortTimeFormat, value)};
  if (letter == "LN") return PrefLangValue(value);
  return int64_t{0};
}

void TDatPrefDM::LoadPrefTokens() {
  // The catalogue by name; the names are unique, so this finds what a walk in order finds.
  std::unordered_map<std::string, const TPrefCatalogueEntry*> byName;
  for (const TPrefCatalogueEntry& entry : PrefCatalogue())
    byName.emplace(PrefTokenName(entry.Name), &entry);

  TAdsField& token = DatPrefQry.FieldByName("TOKEN");
  TAdsField& value = DatPrefQry.FieldByName("VALUE");
  TAdsField& tokenType = DatPrefQry.FieldByName("TOKENTYPE");
  for (DatPrefQry.First(); !DatPrefQry.Eof(); DatPrefQry.Next()) {
    if (value.IsNull()) continue;
    auto match = byName.find(token.AsString());
    if (match == byName.end()) continue;
    match->second->Store(records_, TokenValueToVariant(tokenType.AsString(), value.AsString()));
  }
  CompletePrefLoad();
  ApplyDocFolderDefaults();
  DatPrefQry.Close();
}

void TDatPrefDM::CompletePrefLoad() {
  TGeneralPref& general = records_.Get<TGeneralPref>();
  general.CompanyName = CardDbServicesDM().GetCardCompany(general.GEN_CARD_ID);

  std::unique_ptr<TDatCoinDBServicesDM> coins;
  try {
    coins = std::make_unique<TDatCoinDBServicesDM>();
  } catch (const Exception& e) {
    LogEventEx(this, "DatCoinDBServices_Unit.Init", e.Message(), &e);
  }
  if (coins) {
    general.CoinValue = coins->GetCoinValue(general.GEN_COIN_ID);
    general.CoinEValue =
        FirstUtf8Chars(coins->GetCoinEValue(general.GEN_COIN_ID), kPrefFixedTextChars);
    coins.reset();
  }

  const TGeneralPref copy = general;
  SetDateTimeFormats(copy, general);
}

void TDatPrefDM::ApplyDocFolderDefaults() {
  TDocPref& doc = records_.Get<TDocPref>();
  if (doc.MainFolder.empty()) doc.MainFolder = DocsFolder();
  if (doc.TemplFolder.empty()) doc.TemplFolder = TemplatesFolder();
}

void TDatPrefDM::DisplayErr(TAdsQuery& query, const std::exception& e) {
  std::string text;
  if (query.Active() && !query.Eof()) {
    text = "Problem With Field - " + query.FieldByName("TOKEN").AsString() + "\r\n" +
           "It's current value is -  " + query.FieldByName("VALUE").AsString() + "\r\n" +
           "It's TokenType is - " + query.FieldByName("TOKENTYPE").AsString() + "\r\n" +
           "It's UserId is - " + query.FieldByName("USER_ID").AsString() + "\r\n" + e.what();
  } else {
    text = "cannot Perform this operation on a close Data Set";
  }
  LogEventEx(this, "DisplayErr", text, &e);
}

TDatPrefDM* DatPrefDM() {
  return instance.get();
}

TDatPrefDM& CreateDatPrefDM() {
  if (!instance) instance = std::make_unique<TDatPrefDM>();
  return *instance;
}

void FreeDatPrefDM() {
  instance.reset();
  FreeCardDbServicesDM();
}

void GetDocPref(TDocPref& target) {
  if (instance) target = instance->Records().Get<TDocPref>();
}

void GetGeneralPref(TGeneralPref& target) {
  if (instance) target = instance->Records().Get<TGeneralPref>();
}
