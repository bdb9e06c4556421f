#include "platform/system/LocalePatterns.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/system/PosixSystemServices.h"

TEST(LocalePatterns, DatePatternsOfCommonLocales) {
  TDelphiPattern p = DateFormatFromLocale("%m/%d/%Y");  // en_US
  EXPECT_EQ(p.Pattern, "mm/dd/yyyy");
  EXPECT_EQ(p.Separator, '/');
  p = DateFormatFromLocale("%d.%m.%Y");  // de_DE
  EXPECT_EQ(p.Pattern, "dd/mm/yyyy");
  EXPECT_EQ(p.Separator, '.');
  p = DateFormatFromLocale("%F");  // ISO
  EXPECT_EQ(p.Pattern, "yyyy/mm/dd");
  EXPECT_EQ(p.Separator, '-');
  EXPECT_EQ(DateFormatFromLocale("%e %b %Ey").Pattern, "d mmm yy");
  EXPECT_EQ(DateFormatFromLocale("%A, den %d.%m.%C%y").Pattern, "dddd\", den \"dd/mm/yyyy");
}

TEST(LocalePatterns, TimePatternsAndTheirShortForms) {
  TDelphiPattern p = TimeFormatFromLocale("%r");  // en_US: %I:%M:%S %p
  EXPECT_EQ(p.Pattern, "hh:nn:ss AMPM");
  EXPECT_EQ(WithoutSeconds(p.Pattern), "hh:nn AMPM");
  p = TimeFormatFromLocale("%H.%M.%S");
  EXPECT_EQ(p.Pattern, "hh:nn:ss");
  EXPECT_EQ(p.Separator, '.');
  EXPECT_EQ(WithoutSeconds("hh:nn:ss"), "hh:nn");
  EXPECT_EQ(WithoutSeconds("hh:nn"), "hh:nn");
  // Unit words instead of separators: the seconds' unit goes with the seconds.
  EXPECT_EQ(WithoutSeconds(TimeFormatFromLocale("%H時%M分%S秒").Pattern), "hh時nn分");     // ja_JP
  EXPECT_EQ(WithoutSeconds(TimeFormatFromLocale("%H시 %M분 %S초").Pattern), "hh시 nn분");  // ko_KR
  EXPECT_EQ(WithoutSeconds(TimeFormatFromLocale("%p %I时%M分%S秒").Pattern), "AMPM hh时nn分");
}

TEST(LocalePatterns, LongDateFollowsTheDayMonthOrder) {
  EXPECT_EQ(LongDateFormatFor("dd/mm/yyyy"), "dddd, d mmmm yyyy");
  EXPECT_EQ(LongDateFormatFor("mm/dd/yyyy"), "dddd, mmmm d, yyyy");
  EXPECT_EQ(LongDateFormatFor("yyyy/mm/dd"), "yyyy mmmm d, dddd");
}

TEST(PosixSystemServices, RegionalSettingsOfTheCLocale) {
  const char* saved = getenv("LC_ALL");
  const std::string old = saved ? saved : "";
  setenv("LC_ALL", "C", 1);
  TPosixSystemServices system;
  const TSystemRegionalSettings s = system.RegionalSettings();
  if (saved)
    setenv("LC_ALL", old.c_str(), 1);
  else
    unsetenv("LC_ALL");
  EXPECT_EQ(s.ShortDateFormat, "mm/dd/yy");
  EXPECT_EQ(s.LongDateFormat, "dddd, mmmm d, yyyy");
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.TimeAMString, "AM");
  EXPECT_EQ(s.TimePMString, "PM");
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.TimeSeparator, ':');
  EXPECT_EQ(s.DecimalSeparator, '.');
  EXPECT_EQ(s.ThousandSeparator, ',');  // the C locale has none: the default stays
}
