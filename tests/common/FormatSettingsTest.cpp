#include "common/FormatSettings.h"

#include <gtest/gtest.h>

#include "common/SysUtils.h"
#include "host/FormatSetup.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/ProgramUnitsReset.h"

TEST(FormatSettings, StartUpSavesTheSystemValuesThenFixesTheSeparators) {
  auto system = std::make_unique<TFakeSystem>();
  system->Regional.ShortDateFormat = "dd.mm.yyyy";
  system->Regional.DateSeparator = '.';
  system->Regional.TimeSeparator = '.';
  system->Regional.ThousandSeparator = '.';
  system->Regional.DecimalSeparator = ',';
  system->Regional.TimeAMString = "vm";
  Platform().SetSystem(std::move(system));
  InitFormatSettings();

  const TRegionalSettingsRec& saved = SavedRegionalSettings();
  EXPECT_EQ(saved.ShortDateFormat, "dd.mm.yyyy");
  EXPECT_EQ(saved.DateSeparator, ".");
  EXPECT_EQ(saved.TimeSeparator, ".");
  EXPECT_EQ(saved.ThousandSeparator, ".");
  EXPECT_EQ(saved.DecimalSeparator, ",");
  EXPECT_EQ(saved.TimeAMString, "vm");

  const TFormatSettings& now = FormatSettings();
  EXPECT_EQ(now.DateSeparator, '.');  // the date separator stays the system's
  EXPECT_EQ(now.TimeSeparator, ':');
  EXPECT_EQ(now.ThousandSeparator, ',');
  EXPECT_EQ(now.DecimalSeparator, '.');
  const TRegionalSettingsRec current = CurrentRegionalSettings();
  EXPECT_EQ(current.TimeSeparator, ":");
  EXPECT_EQ(current.ShortDateFormat, "dd.mm.yyyy");

  // A number reads with "." whatever the system's decimal separator was.
  EXPECT_DOUBLE_EQ(StrToFloat("1234.5"), 1234.5);
  EXPECT_THROW(StrToFloat("1234,5"), EConvertError);
  ResetProgramUnits();
}

TEST(SysUtils, NumbersInText) {
  EXPECT_EQ(StrToInt(" -42 "), -42);
  EXPECT_THROW(StrToInt("4x"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_THROW(StrToInt("99999999999999999999"), EConvertError);
  EXPECT_DOUBLE_EQ(StrToFloat("-1.5e3"), -1500);
  EXPECT_THROW(StrToFloat("."), EConvertError);
}
