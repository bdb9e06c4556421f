#include "docpaths/FolderPrefs.h"

#include "db/DatGenDBConnectionDM.h"
#include "db/PrefTypes.h"
#include "docpaths/PathPasses.h"
#include "docpaths/TableRewriteWalk.h"

std::string PrefLevelName(const std::string& userId) {
  if (userId == "-2") return "system";
  if (userId == "-1") return "all users";
  return "user " + userId;
}

TValueRule FolderPrefRule(TValueRule rule) {
  return [rule = std::move(rule)](const std::string& value, std::string& rewritten) {
    if (!rule(value, rewritten)) return false;
    if (!value.empty() && value.back() == '\\' && (rewritten.empty() || rewritten.back() != '\\'))
      rewritten += '\\';
    return true;
  };
}

void ForEachTextPref(const std::function<void(const std::string& userId, const std::string& token,
                                              const std::string& value)>& each) {
  TAdsQuery query(nullptr, "");
  query.DatabaseName = MainConnectionName;
  query.SQL = "SELECT USER_ID, TOKEN, TOKENTYPE, VALUE FROM Pref";
  query.Open();
  TAdsField& user = query.FieldByName("USER_ID");
  TAdsField& token = query.FieldByName("TOKEN");
  TAdsField& type = query.FieldByName("TOKENTYPE");
  TAdsField& value = query.FieldByName("VALUE");
  for (; !query.Eof(); query.Next())
    if (IsTextPrefType(type.AsString())) each(user.AsString(), token.AsString(), value.AsString());
  query.Close();
}

void ReportFolderPrefs(const TValueRule& rule, TTableReport& report) {
  std::string rewritten;
  ForEachTextPref([&](const std::string& user, const std::string& token, const std::string& value) {
    ++report.Examined;
    if (!rule(value, rewritten) || rewritten == value) return;
    report.WillChange.Add(token + " (" + PrefLevelName(user) + "): " + value, rewritten);
  });
}

void WalkFolderPrefs(const TValueRule& rule, const TPassOptions& options, TPassResult& result) {
  TAdsTable table(nullptr, "");
  BindPassTable(table, kPrefPass);
  TAdsField* type = nullptr;
  // Only text values: the store converts the others, whatever they look like. The value is
  // copied before the type is read, as reading another field may read the record anew.
  std::string value;
  RewriteTableField(
      table, kPrefPass.Field,
      [&](const std::string& stored, std::string& rewritten) {
        value = stored;
        if (!type) type = &table.FieldByName("TOKENTYPE");
        return IsTextPrefType(type->AsString()) && rule(value, rewritten);
      },
      options, result);
}
