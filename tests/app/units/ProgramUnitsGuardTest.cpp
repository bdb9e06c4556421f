// The program units run the start-up guard after the regional settings and the exception
// manager, and release it at the end, however the start ended.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "app/units/ProgramUnits.h"
#include "common/StrTable.h"
#include "startup/GuardMessages.h"
#include "tests/support/AppTestInstallation.h"

namespace {

size_t UnitIndex(const std::string& name) {
  const auto list = ProgramUnitList();
  return std::find_if(list.begin(), list.end(),
                      [&](const TProgramUnit& unit) { return name == unit.Name; }) -
         list.begin();
}

TEST(ProgramUnitsGuard, TheGuardRunsAfterTheRegionalSettingsAndTheManagerAndBeforeTheLog) {
  ASSERT_LT(UnitIndex("StartupGuard"), ProgramUnitList().size());
  EXPECT_LT(UnitIndex("RegionalFormats"), UnitIndex("ExceptionManager"));
  EXPECT_LT(UnitIndex("ExceptionManager"), UnitIndex("StartupGuard"));
  EXPECT_LT(UnitIndex("StartupGuard"), UnitIndex("EventLog"));
}

TEST(ProgramUnitsGuard, ARefusalHaltsInOrderAndTheNextStartRunsTheGuardAgain) {
  TAppTestInstallation install("VrlChangeDocsPath");
  std::ofstream(install.Path("DBSys/VarnelStop.INI")) << "";
  for (int start = 1; start <= 2; ++start) {
    bool ran = false;
    const int code = RunWithProgramUnits(
        nullptr,
        [&] {
          ran = true;
          return 5;
        },
        2, 7);
    EXPECT_EQ(code, 7);
    EXPECT_FALSE(ran);
    EXPECT_EQ(install.Ui->Messages.size(), static_cast<size_t>(start));
    EXPECT_EQ(install.Ui->Messages.back(), LoadStr(sGuardMaintenanceStop));
  }
}

TEST(ProgramUnitsGuard, WithoutAStopTheProgramGoesOn) {
  TAppTestInstallation install("VrlChangeDocsPath");
  const int code = RunWithProgramUnits(
      nullptr, [] { return 5; }, 2, 7);
  EXPECT_EQ(code, 5);
  EXPECT_TRUE(install.Ui->Messages.empty());
}

}  // namespace
