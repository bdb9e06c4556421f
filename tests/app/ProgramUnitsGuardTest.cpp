// The program units run the start-up guard after the regional settings and release it at the
// end, however the start ended.
#include <gtest/gtest.h>

#include <fstream>

#include "app/StartupSequence.h"
#include "common/FormatSettings.h"
#include "startup/GuardMessages.h"
#include "tests/app/AppTestInstallation.h"

TEST(ProgramUnitsGuard, ARefusalHaltsInOrderAndTheNextStartRunsTheGuardAgain) {
  TAppTestInstallation install("VrlChangeDocsPath");
  install.System->Regional.DecimalSeparator = ',';
  std::ofstream(install.Path("DBSys/VarnelStop.INI")) << "";
  for (int start = 1; start <= 2; ++start) {
    TProgramUnits units;
    EXPECT_TRUE(units.Halted());
    EXPECT_EQ(units.HaltExitCode(), 0);
    EXPECT_EQ(install.Ui->Messages.size(), static_cast<size_t>(start));
    EXPECT_EQ(install.Ui->Messages.back(), MaintenanceStopText);
    // The regional settings were fixed before the guard ran.
    EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
  }
}

TEST(ProgramUnitsGuard, WithoutAStopTheProgramGoesOn) {
  TAppTestInstallation install("VrlChangeDocsPath");
  TProgramUnits units;
  EXPECT_FALSE(units.Halted());
  EXPECT_TRUE(install.Ui->Messages.empty());
}
