#include "common/DateUtils.h"

#include <gtest/gtest.h>

#include "common/FormatSettings.h"
#include "common/SysUtils.h"
#include "host/Clock.h"
#include "host/DateParse.h"
#include "host/FormatSetup.h"
#include "platform/Platform.h"
#include "tests/support/FakeSystem.h"
#include "tests/support/ProgramUnitsReset.h"

namespace {

class DateUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto system = std::make_unique<TFakeSystem>();
    system_ = system.get();
    Platform().SetSystem(std::move(system));
    InitFormatSettings();
  }
  void TearDown() override { ResetProgramUnits(); }

  TFakeSystem* system_ = nullptr;
  // Tuesday 8 December 2026, 14:03:07.215 and 01:05:09.004.
  const TDateTime afternoon_ = EncodeDateTime(2026, 12, 8, 14, 3, 7, 215);
  const TDateTime night_ = EncodeDateTime(2026, 12, 8, 1, 5, 9, 4);
};

}  // namespace

TEST_F(DateUtilsTest, EncodeAndDecodeAroundTheEpoch) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0, 0), 0);
  EXPECT_EQ(EncodeDateTime(1900, 1, 1, 12, 0, 0, 0), 2.5);
  const TDateTimeParts p = DecodeDateTime(afternoon_);
  EXPECT_EQ((std::vector<int>{p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Millisecond,
                              p.DayOfWeek}),
            (std::vector<int>{2026, 12, 8, 14, 3, 7, 215, 3}));
  TDateTime v = 0;
  EXPECT_FALSE(TryEncodeDate(2026, 2, 29, v));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v));
}

TEST_F(DateUtilsTest, PatternsOfTheLogAndStartUp) {
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:mm:ss:zzz", afternoon_), "08/12/2026 14:03:07:215");
  EXPECT_EQ(FormatDateTime("ddmmyyyy_hhmmss", night_), "08122026_010509");
  EXPECT_EQ(FormatDateTime("hhmmss", night_), "010509");
  EXPECT_EQ(FormatDateTime("ddmmyyhhmmss", night_), "081226010509");
  EXPECT_EQ(FormatDateTime("mmddyyyy-hhmmss", afternoon_), "12082026-140307");
}

TEST_F(DateUtilsTest, TwelveHourPatterns) {
  EXPECT_EQ(FormatDateTime(" HH:MM AMPM", afternoon_), " 02:03 PM");
  EXPECT_EQ(FormatDateTime(" HH:MM AMPM", night_), " 01:05 AM");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeDateTime(2026, 1, 1, 0, 30, 0, 0)), "12:30 am");
  EXPECT_EQ(FormatDateTime("h a/p", afternoon_), "2 p");
  EXPECT_EQ(FormatDateTime("hh 'h' AMPM", afternoon_), "02 h PM");
  EXPECT_EQ(FormatDateTime("hh \"ampm\"", afternoon_), "14 ampm");  // quoted: still 24-hour
}

TEST_F(DateUtilsTest, NamesSeparatorsAndLiterals) {
  TFormatSettings& s = FormatSettings();
  s.DateSeparator = '.';
  EXPECT_EQ(FormatDateTime("d/m/yy", night_), "8.12.26");
  EXPECT_EQ(FormatDateTime("ddd, dddd d mmm mmmm", night_), "Tue, Tuesday 8 Dec December");
  EXPECT_EQ(FormatDateTime("'dd' \"mm\" d", night_), "dd mm 8");
  EXPECT_EQ(FormatDateTime("h:n:s.z", night_), "1:5:9.4");
  EXPECT_EQ(FormatDateTime("mm:ss", night_), "12:09");  // no hour before: the month
}

TEST_F(DateUtilsTest, GeneralFormatsUseTheSettings) {
  TFormatSettings& s = FormatSettings();
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  s.ShortTimeFormat = " HH:MM AMPM";
  EXPECT_EQ(DateTimeToStr(afternoon_), "08/12/2026 14:03:07");
  EXPECT_EQ(DateTimeToStr(EncodeDateTime(2026, 12, 8, 0, 0, 0, 0)), "08/12/2026");
  EXPECT_EQ(FormatDateTime("t", afternoon_), " 02:03 PM");
  EXPECT_EQ(FormatDateTime("ddddd", afternoon_), "08/12/2026");
  EXPECT_EQ(FormatDateTime("", afternoon_), "08/12/2026 14:03:07");
}

TEST_F(DateUtilsTest, ParsersFollowTheShortDateOrder) {
  TFormatSettings& s = FormatSettings();
  s.ShortDateFormat = "dd/mm/yyyy";
  EXPECT_EQ(StrToDate("08/12/2026"), EncodeDateTime(2026, 12, 8, 0, 0, 0, 0));
  s.ShortDateFormat = "M/d/yyyy";
  EXPECT_EQ(StrToDate(" 12/8/2026 "), EncodeDateTime(2026, 12, 8, 0, 0, 0, 0));
  s.ShortDateFormat = "yyyy-mm-dd";
  s.DateSeparator = '-';
  EXPECT_EQ(StrToDate("2026-12-08"), EncodeDateTime(2026, 12, 8, 0, 0, 0, 0));
  EXPECT_THROW(StrToDate("2026/12/08"), EConvertError);
  EXPECT_THROW(StrToDate("2026-13-08"), EConvertError);
  EXPECT_THROW(StrToDate("2026-12-08x"), EConvertError);
  EXPECT_THROW(StrToDate(""), EConvertError);
}

TEST_F(DateUtilsTest, TwoDigitYearsFallInTheCenturyWindow) {
  FormatSettings().ShortDateFormat = "dd/mm/yy";
  const int year = DecodeDateTime(StrToDate("01/01/00")).Year;
  EXPECT_EQ(year % 100, 0);
  EXPECT_GE(year, 2000);
  const TDateTimeParts p = DecodeDateTime(StrToDate("8/12"));  // the current year
  EXPECT_EQ(p.Day, 8);
  EXPECT_EQ(p.Month, 12);
}

TEST_F(DateUtilsTest, TimeParserReadsItsOwnFormats) {
  EXPECT_EQ(StrToTime(" 02:03 PM"), EncodeDateTime(1899, 12, 30, 14, 3, 0, 0));
  EXPECT_EQ(StrToTime("12:30 am"), EncodeDateTime(1899, 12, 30, 0, 30, 0, 0));
  EXPECT_EQ(StrToTime("PM 1:05"), EncodeDateTime(1899, 12, 30, 13, 5, 0, 0));
  EXPECT_EQ(StrToTime("14:03:07.215"), EncodeDateTime(1899, 12, 30, 14, 3, 7, 215));
  EXPECT_EQ(StrToTime("7"), EncodeDateTime(1899, 12, 30, 7, 0, 0, 0));
  EXPECT_THROW(StrToTime("13:00 PM"), EConvertError);
  EXPECT_THROW(StrToTime("24:00"), EConvertError);
  EXPECT_THROW(StrToTime("10:"), EConvertError);
}

TEST_F(DateUtilsTest, DateTimeParserRoundTripsTheShortFormats) {
  // The "DT" preference value: parse, format with short date + " " + short time, parse again.
  TFormatSettings& s = FormatSettings();
  s.ShortDateFormat = "dd/mm/yyyy";
  s.ShortTimeFormat = " HH:MM AMPM";
  const TDateTime value = StrToDateTime("08/12/2026 14:03");
  const std::string text = FormatDateTime(s.ShortDateFormat + " " + s.ShortTimeFormat, value);
  EXPECT_EQ(text, "08/12/2026  02:03 PM");
  EXPECT_EQ(StrToDateTime(text), EncodeDateTime(2026, 12, 8, 14, 3, 0, 0));
  EXPECT_EQ(StrToDateTime("08/12/2026"), EncodeDateTime(2026, 12, 8, 0, 0, 0, 0));
  EXPECT_EQ(StrToDateTime("10:15"), EncodeDateTime(1899, 12, 30, 10, 15, 0, 0));  // time only
  EXPECT_THROW(StrToDateTime("08/12/2026 25:00"), EConvertError);
}

TEST_F(DateUtilsTest, ADateWithoutAYearTakesTheYearOfTheProcessClock) {
  // The clock the log and the dated file names read, not the machine's own.
  for (int year : {1999, 2031}) {
    system_->Clock = EncodeDateTime(year, 3, 1, 9, 0, 0, 0);
    const TDateTimeParts p = DecodeDateTime(StrToDate("05/06"));
    EXPECT_EQ((std::vector<int>{p.Year, p.Month, p.Day}), (std::vector<int>{year, 6, 5}));
  }
}
