// A CRM test installation with the main connection open and a way to write Pref rows; frees the
// preference store after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "settings/DatLangDM_Unit.h"
#include "settings/DatPrefDM_Unit.h"
#include "tests/support/CrmTestInstall.h"

class PrefTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MainConnectionIsOpen());
    db_ = install.Open();
  }
  void TearDown() override {
    FreeDatPrefDM();
    FreeDatLangDM();
  }

  // One Pref row; no value writes NULL.
  void Row(const std::string& user, const std::string& token, const std::string& type,
           std::optional<std::string> value) {
    TAceParams params = {
        {"RecId", "P" + std::to_string(++rows_)}, {"User", user}, {"Token", token}, {"Type", type}};
    if (value) params.emplace_back("Value", *value);
    db_->ExecSQL(
        "INSERT INTO Pref (RECID, USER_ID, TOKEN, TOKENTYPE, VALUE) VALUES (:RecId, "
        ":User, :Token, :Type, " +
            std::string(value ? ":Value" : "NULL") + ")",
        params);
  }
  void Sql(const std::string& sql) { db_->ExecSQL(sql, {}); }

  static TDocPref Doc() {
    TDocPref doc;
    GetDocPref(doc);
    return doc;
  }
  static TGeneralPref General() {
    TGeneralPref general;
    GetGeneralPref(general);
    return general;
  }
  static const TPrefRecords& Records() { return DatPrefDM()->Records(); }

  TCrmTestInstall install;

 private:
  std::unique_ptr<TAceConnection> db_;
  int rows_ = 0;
};
