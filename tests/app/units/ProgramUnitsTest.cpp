// The program units: what a run starts, that every end (orderly, early, failed) stops it all,
// and that the stop steps leave nothing for static destruction.
#include "app/units/ProgramUnits.h"

#include <gtest/gtest.h>

#include "common/FormatSettings.h"
#include "common/Forms.h"
#include "db/DatGenDBConnectionDM.h"
#include "db/SysLock.h"
#include "log/EventLog.h"
#include "log/ExceptionManager.h"
#include "log/LogHook.h"
#include "platform/engine/AdsComponents.h"
#include "settings/DatLangDM_Unit.h"
#include "settings/DatPrefDM_Unit.h"
#include "startup/StartUpGuard.h"
#include "tests/support/CrmTestInstall.h"
#include "tests/support/ProgramUnitsReset.h"

namespace {

// Nothing process-wide is left: what the end of a run must leave behind.
void ExpectEverythingStopped() {
  EXPECT_EQ(EventLog(), nullptr);
  EXPECT_EQ(LogHook, nullptr);
  EXPECT_EQ(DBConnectionDM(), nullptr);
  EXPECT_EQ(TAdsConnection::FindByName("DBConnection"), nullptr);
  EXPECT_FALSE(SysLockIsOpen());
  EXPECT_EQ(HEMgr, nullptr);
  EXPECT_EQ(DatLangDM, nullptr);
  EXPECT_TRUE(DataModules().empty());  // the preference, card and language modules too
  EXPECT_EQ(HeldServerRunMutexName(), "");
}

TEST(ProgramUnits, EveryUnitHasANameAndAStopStep) {
  for (const TProgramUnit& unit : ProgramUnitList()) {
    EXPECT_NE(std::string(unit.Name), "");
    EXPECT_NE(unit.Stop, nullptr) << unit.Name;
  }
}

TEST(ProgramUnits, ARunStartsTheUnitsAndItsEndStopsThemAllWithTheLockTableHeld) {
  TCrmTestInstall install;
  StopProgramUnits();
  install.System->Regional.ShortDateFormat = "yyyy-mm-dd";
  const int code = RunWithProgramUnits(
      nullptr,
      [] {
        EXPECT_NE(EventLog(), nullptr);
        EXPECT_NE(LogHook, nullptr);
        EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy-mm-dd");
        EXPECT_TRUE(CheckSysLock(false));
        EXPECT_TRUE(SysLockIsOpen());
        TDocPref doc;
        try {
          GetDocPref(doc);  // the preference module, made on first use
        } catch (const std::exception& e) {
          ADD_FAILURE() << e.what();
        }
        EXPECT_NE(HEMgr, nullptr);
        EXPECT_FALSE(DataModules().empty());
        return 5;
      },
      9, 1);
  EXPECT_EQ(code, 5);
  ExpectEverythingStopped();
  EXPECT_EQ(FormatSettings().ShortDateFormat, TFormatSettings{}.ShortDateFormat);
}

TEST(ProgramUnits, AFailureInTheRunIsLoggedAndShownBeforeTheUnitsStop) {
  TCrmTestInstall install;
  StopProgramUnits();
  std::string told;
  const int code = RunWithProgramUnits(
      nullptr,
      []() -> int {
        InitEurekaLog(nullptr);  // as the start-up checks do first
        CheckSysLock(false);
        throw Exception("the run failed");
      },
      2, 1, [&](const std::exception& e) { told = e.what(); });
  EXPECT_EQ(code, 2);
  EXPECT_EQ(told, "the run failed");
  ASSERT_EQ(install.Ui->Messages.size(), 1u);
  EXPECT_EQ(install.Ui->Messages[0], "Message registered in log file:");
  EXPECT_NE(install.LogText().find("the run failed"), std::string::npos);
  ExpectEverythingStopped();
}

TEST(ProgramUnits, AFailingStartStepEndsTheRunInOrderWithoutRunningIt) {
  TCrmTestInstall install;
  ResetProgramUnits();
  auto ui = std::make_unique<TFakeUi>();
  TFakeUi& shown = *ui;
  Platform().SetUi(std::move(ui));  // no system services: the first start step fails
  bool ran = false;
  const int code = RunWithProgramUnits(
      nullptr,
      [&] {
        ran = true;
        return 0;
      },
      2, 1);
  EXPECT_EQ(code, 2);
  EXPECT_FALSE(ran);
  ASSERT_EQ(shown.Errors.size(), 1u);  // before the log runs: an error box with the message
  EXPECT_NE(shown.Errors[0].find("system"), std::string::npos);
  ExpectEverythingStopped();
}

TEST(ProgramUnits, StopStepsAreSafeTwiceAndWithoutAStart) {
  ResetProgramUnits();
  EXPECT_NO_THROW(StopProgramUnits());
  EXPECT_NO_THROW(StopProgramUnits());
  ExpectEverythingStopped();
}

}  // namespace
