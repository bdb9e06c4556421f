#include <gtest/gtest.h>

#include <fstream>

#include "platform/EADSDatabaseError.h"
#include "platform/engine/postgres/RemoteServerSettings.h"
#include "tests/support/TempDir.h"

namespace {

std::string Write(const TTempDir& temp, const std::string& text) {
  const std::string file = (temp.Path() / "ads.ini").string();
  std::ofstream(file) << text;
  return file;
}

}  // namespace

TEST(RemoteServerSettings, TheSectionGivesTheConninfoWithoutCaseAndQuoted) {
  TTempDir temp;
  const std::string file = Write(temp,
                                 "[SETTINGS]\nADS_SERVER_TYPE=1\n\n[varnelremote]\nhost = "
                                 "db.example\nPORT=5433\nDatabase=crm o'brien\nUser=var\\nel\n");
  EXPECT_EQ(RemoteConninfoFromIni(file),
            "host='db.example' port='5433' dbname='crm o\\'brien' user='var\\\\nel'");
  const std::string withSsl =
      Write(temp, "[VarnelRemote]\nHost=h\nPort=1\nDatabase=d\nUser=u\nSslMode=require\n");
  EXPECT_EQ(RemoteConninfoFromIni(withSsl),
            "host='h' port='1' dbname='d' user='u' sslmode='require'");
}

TEST(RemoteServerSettings, WhatIsMissingIsNamedWithTheFile) {
  TTempDir temp;
  const struct {
    const char* text;  // nullptr: no file
    const char* named;
  } cases[] = {
      {nullptr, "is missing"},
      {"[SETTINGS]\nADS_SERVER_TYPE=1\n", "[VarnelRemote]"},
      {"[VarnelRemote]\nPort=1\nDatabase=d\nUser=u\n", "no Host"},
      {"[VarnelRemote]\nHost=h\nDatabase=d\nUser=u\n", "no Port"},
      {"[VarnelRemote]\nHost=h\nPort=1\nDatabase=  \nUser=u\n", "no Database"},
      {"[VarnelRemote]\nHost=h\nPort=1\nDatabase=d\n[Other]\nUser=u\n", "no User"},
  };
  for (const auto& c : cases) {
    const std::string file =
        c.text ? Write(temp, c.text) : (temp.Path() / "none" / "ads.ini").string();
    try {
      RemoteConninfoFromIni(file);
      ADD_FAILURE() << "accepted: " << (c.text ? c.text : "no file");
    } catch (const EADSDatabaseError& e) {
      EXPECT_EQ(e.ACEErrorCode, AdsErrNoServerSettings);
      EXPECT_NE(e.Message().find(file), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find(c.named), std::string::npos) << e.Message();
    }
  }
}
