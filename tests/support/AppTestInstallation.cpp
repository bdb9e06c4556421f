#include "tests/support/AppTestInstallation.h"

std::string SqlText(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

void TAppTestInstallation::Seed(const std::vector<std::string>& documentNames,
                                const std::vector<std::string>& cardFolders) const {
  auto db = Open();
  db->ExecSQL("DELETE FROM Docs", {});
  db->ExecSQL("DELETE FROM Cards", {});
  int recid = 0;
  for (const std::string& name : documentNames)
    db->ExecSQL("INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES (" +
                    SqlText(std::to_string(++recid)) + ", " + SqlText(name) + ")",
                {});
  recid = 0;
  for (const std::string& folder : cardFolders)
    db->ExecSQL("INSERT INTO Cards (RECID, COMPANY, DOCSFOLDER) VALUES (" +
                    SqlText(std::to_string(++recid)) + ", 'Company', " + SqlText(folder) + ")",
                {});
}

void TAppTestInstallation::FailUpdatesOf(const std::string& table, int recid) const {
  Open()->ExecSQL("CREATE TRIGGER Fail" + table + " BEFORE UPDATE ON " + table +
                      " WHEN OLD.RECID = " + SqlText(std::to_string(recid)) +
                      " BEGIN SELECT RAISE(ABORT, 'record " + std::to_string(recid) +
                      " is locked'); END",
                  {});
}

void TAppTestInstallation::Pref(const std::string& user, const std::string& token,
                                const std::string& type, const std::string& value) const {
  Open()->ExecSQL(
      "INSERT INTO Pref (RECID, USER_ID, TOKEN, TOKENTYPE, VALUE) VALUES ((SELECT 'P' || "
      "(COUNT(*) + 1) FROM Pref), :User, :Token, :Type, :Value)",
      {{"User", user}, {"Token", token}, {"Type", type}, {"Value", value}});
}
