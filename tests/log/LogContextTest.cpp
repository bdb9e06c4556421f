#include "log/LogContext.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/Forms.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "platform/engine/AdsComponents.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/FakeUi.h"
#include "tests/support/ProgramUnitsReset.h"
#include "tests/support/TestObjects.h"

namespace {

class LogContext : public ::testing::Test {
 protected:
  void SetUp() override {
    auto ui = std::make_unique<TFakeUi>();
    auto sys = std::make_unique<TFakeSystem>();
    Ui = ui.get();
    Sys = sys.get();
    Platform().SetUi(std::move(ui));
    Platform().SetSystem(std::move(sys));
  }
  void TearDown() override { ResetProgramUnits(); }
  TFakeUi* Ui = nullptr;
  TFakeSystem* Sys = nullptr;
};

}  // namespace

TEST_F(LogContext, TickTextSplitsUpTimeWithoutLeadingZeros) {
  Sys->Ticks = 86400000 + 2 * 3600000 + 3 * 60000 + 4 * 1000 + 5;
  EXPECT_EQ(GetTickText(), "TC: 1 2:3:4(5) 93784005");
  // Past 2,147,483,647 ms the signed count wraps and every part turns negative.
  Sys->Ticks = static_cast<int32_t>(2147483648u + 1000u);
  EXPECT_EQ(GetTickText(), "TC: -24 -20:-31:-22(-648) -2147482648");
}

TEST_F(LogContext, SenderInfoNamesUnitAndParentForm) {
  TTestForm form(nullptr, "ChangePathForDocsFrm");
  TTestControl panel(&form, "Panel1", "TPanel", &form);
  TTestControl unnamed(&form, "", "TPanel", &panel);
  TTestControl button(&form, "Button1", "TButton", &unnamed);

  EXPECT_EQ(GetSenderInfo(&button),
            " Unit - StdCtrls. Form - ChangePathForDocs_Unit.ChangePathForDocsFrm->"
            "TChangePathForDocsFrm");
  // The nearest named parent is found past an unnamed one.
  EXPECT_EQ(GetNamedParentText(&button), " Panel1 TPanel");
  // A form is its own parent form; it has no named parent.
  EXPECT_EQ(GetSenderInfo(&form),
            " Unit - ChangePathForDocs_Unit. Form - ChangePathForDocs_Unit.ChangePathForDocsFrm->"
            "TChangePathForDocsFrm");
  EXPECT_EQ(GetNamedParentText(&form), "");

  TTestModule module("LangDM", "TLangDM", "DatLangDM_Unit");
  EXPECT_EQ(GetSenderInfo(&module), " Unit - DatLangDM_Unit.");
  EXPECT_EQ(GetNamedParentText(&module), "");
  EXPECT_EQ(GetSenderInfo(nullptr), "");
}

TEST_F(LogContext, FormsTextListsActiveFormControlAndOpenForms) {
  TFormInfo main = FormInfo("TChangePathForDocsFrm", "ChangePathForDocsFrm",
                            "Change Document Path - Change Server");
  Ui->Active = main;
  Ui->Control = TControlInfo{"TEdit", "Edit1", "StdCtrls", " Panel1 TPanel"};
  Ui->Forms = {main};
  EXPECT_EQ(GetFormsText(),
            "ActiveForm:TChangePathForDocsFrm ChangePathForDocsFrm ActiveControl:TEdit Edit1  "
            "Panel1 TPanel StdCtrls\r\n--\r\n0.TChangePathForDocsFrm ChangePathForDocsFrm 1 "
            "Change Document Path - Change Server\r\n");
}

TEST_F(LogContext, FormsTextWithoutActiveFormStartsWithLineBreakAndStopsAtHundredForms) {
  for (int i = 0; i < 150; ++i) {
    TFormInfo f = FormInfo("TForm", "Form" + std::to_string(i), "Caption");
    f.Visible = i % 2 == 0;
    Ui->Forms.push_back(f);
  }
  const std::string text = GetFormsText();
  EXPECT_EQ(text.substr(0, 25), "\r\n--\r\n0.TForm Form0 1 Cap");
  EXPECT_NE(text.find("\r\n1.TForm Form1 0 Caption\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n99.TForm Form99 0 Caption\r\n"), std::string::npos);
  EXPECT_EQ(text.find("100.TForm"), std::string::npos);
}

TEST_F(LogContext, SqlTextFindsLoggableQueriesOfTheNamedOwner) {
  TTestModule module("LangDM", "TLangDM", "DatLangDM_Unit");
  TAdsQuery query(&module, "LangQry");
  query.SQL = "SELECT * FROM Lang WHERE LANGID = :LangId";
  EADSDatabaseError error("failed", 7200, 0, "Lang", "", "LangQry", " langdm ");
  EXPECT_EQ(GetSqlText(&error), "SQLText:\r\nSELECT * FROM Lang WHERE LANGID = :LangId");

  query.SQL = "select * from sysPm";
  EXPECT_EQ(GetSqlText(&error), "");
  EXPECT_FALSE(IsSqlLoggable("UPDATE SYSPM SET X=1"));

  EADSDatabaseError noOwner("failed", 7200, 0, "Lang", "", "LangQry", "");
  EXPECT_EQ(GetSqlText(&noOwner), "");
  std::runtime_error plain("x");
  EXPECT_EQ(GetSqlText(&plain), "");
}

TEST_F(LogContext, SqlSearchStopsAtAFormOfThatNameEvenWithoutTheQuery) {
  TTestModule module("Shared", "TLangDM", "DatLangDM_Unit");
  TAdsQuery query(&module, "Qry");
  query.SQL = "SELECT 1";
  TTestForm form(nullptr, "Shared");
  TFormInfo info = FormInfo("TChangePathForDocsFrm", "Shared", "");
  info.Object = &form;
  Ui->Forms = {info};
  EADSDatabaseError error("failed", 7200, 0, "", "", "Qry", "Shared");
  EXPECT_EQ(GetSqlText(&error), "");  // the form ends the search; data modules are not tried
  Ui->Forms.clear();
  EXPECT_EQ(GetSqlText(&error), "SQLText:\r\nSELECT 1");
}

TEST_F(LogContext, ModuleInfoAddsProgramPathOnlyWhenItDiffers) {
  Sys->Ticks = 5;
  Sys->ModulePath = "/srv/crm/Utils/VrlChangeDocsPath";
  Sys->ProgramFile = "/srv/crm/Utils/VrlChangeDocsPath";
  LoadSystemFolderDefaults();
  EXPECT_EQ(GetModuleInfoText(),
            "TC: 0 0:0:0(5) 5\r\n/srv/crm/Utils/VrlChangeDocsPath\r\n/srv/crm/DB");
  Sys->ModulePath = "/srv/crm/Utils/libVrlClient.so";
  LoadSystemFolderDefaults();
  EXPECT_EQ(GetModuleInfoText(),
            "TC: 0 0:0:0(5) 5\r\n/srv/crm/Utils/libVrlClient.so\r\n"
            "/srv/crm/Utils/VrlChangeDocsPath\r\n/srv/crm/DB");
  EXPECT_EQ(GetUserNameText(), "admin");
  EXPECT_EQ(GetComputerNameText(), "CRMSRV01");
}
