// Every locale's date and time patterns, as the system seam turns them into the process
// settings, must be read back by our own parsers: what FormatDateTime writes with the short
// date, the long and the short time format, StrToDate, StrToTime and StrToDateTime read again.
#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "common/DateUtils.h"
#include "common/FormatSettings.h"
#include "host/DateParse.h"
#include "host/FormatSetup.h"
#include "platform/Platform.h"
#include "platform/system/PosixSystemServices.h"

namespace fs = std::filesystem;

namespace {

const char* const Locales[] = {"C",     "en_US", "en_GB", "de_DE", "he_IL",
                               "fr_FR", "ja_JP", "ko_KR", "zh_CN"};

bool LocaleAvailable(const std::string& name) {
  locale_t locale = newlocale(LC_ALL_MASK, name.c_str(), static_cast<locale_t>(0));
  if (locale) freelocale(locale);
  return locale != static_cast<locale_t>(0);
}

// Makes every locale of the list available: when the system lacks one, all of them are
// compiled with localedef into the build tree (once; later runs reuse them) and LOCPATH points
// there, since LOCPATH replaces the system's own locale archive.
void ProvideLocales() {
  bool missing = false;
  for (const char* name : Locales)
    missing = missing || !LocaleAvailable(std::string(name) + (name[1] ? ".UTF-8" : ""));
  if (!missing) return;
  const char* build = getenv("VRL_BUILD_DIR");
  const fs::path folder = fs::path(build ? build : fs::temp_directory_path()) / "test-locales";
  fs::create_directories(folder);
  for (const char* name : Locales) {
    if (!name[1]) continue;  // "C" is built in
    const fs::path target = folder / (std::string(name) + ".UTF-8");
    if (fs::exists(target)) continue;
    // Compiled under a name of its own, then moved in whole: parallel test runs may race here.
    const fs::path scratch = folder / (target.filename().string() + "." + std::to_string(getpid()));
    const std::string command = "localedef -i " + std::string(name) + " -f UTF-8 '" +
                                scratch.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::error_code taken;
    fs::rename(scratch, target, taken);
    if (taken) fs::remove_all(scratch);
  }
  setenv("LOCPATH", folder.c_str(), 1);
}

// The process settings as the system seam gives them for the locale.
void UseLocale(const std::string& name) {
  setenv("LC_ALL", name == "C" ? "C" : (name + ".UTF-8").c_str(), 1);
  Platform().SetSystem(std::make_unique<TPosixSystemServices>());
  InitFormatSettings();
}

}  // namespace

TEST(LocaleRoundTrip, WhatEachLocalesPatternsWriteOurParsersReadBack) {
  ProvideLocales();
  const std::string savedAll = getenv("LC_ALL") ? getenv("LC_ALL") : "";
  const double tolerance = 1e-9;  // well below a millisecond
  for (const char* name : Locales) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(LocaleAvailable(std::string(name) + (name[1] ? ".UTF-8" : "")));
    UseLocale(name);
    const TFormatSettings& s = FormatSettings();
    for (const int hour : {14, 2}) {  // afternoon and morning: the 12-hour clocks' AM and PM
      const TDateTime value = EncodeDateTime(2026, 12, 9, hour, 5, 30, 0);
      const TDateTime date = std::floor(value), time = value - date;
      const TDateTime shortTime = EncodeDateTime(1899, 12, 30, hour, 5, 0, 0);

      const std::string dateText = FormatDateTime(s.ShortDateFormat, value);
      const std::string longText = FormatDateTime(s.LongTimeFormat, value);
      const std::string shortText = FormatDateTime(s.ShortTimeFormat, value);
      const std::string bothText = DateTimeToStr(value);
      TDateTime read = -1;
      EXPECT_TRUE(TryStrToDate(dateText, read)) << dateText;
      EXPECT_NEAR(read, date, tolerance) << dateText;
      EXPECT_TRUE(TryStrToTime(longText, read)) << longText;
      EXPECT_NEAR(read, time, tolerance) << longText;
      EXPECT_TRUE(TryStrToTime(shortText, read)) << shortText;
      EXPECT_NEAR(read, shortTime, tolerance) << shortText;
      EXPECT_TRUE(TryStrToDateTime(bothText, read)) << bothText;
      EXPECT_NEAR(read, value, tolerance) << bothText;
      // The short time has no seconds, and nothing of them is left behind.
      EXPECT_EQ(shortText.find("30"), std::string::npos) << shortText;
    }
  }
  UseLocale("C");
  EXPECT_EQ(FormatSettings().ShortTimeFormat, "hh:nn");
  for (const auto& [name, shortTime] :
       {std::pair{"ja_JP", "14時05分"}, std::pair{"ko_KR", "14시 05분"},
        std::pair{"zh_CN", "14时05分"}}) {
    UseLocale(name);
    EXPECT_EQ(
        FormatDateTime(FormatSettings().ShortTimeFormat, EncodeDateTime(2026, 12, 9, 14, 5, 30, 0)),
        shortTime);
  }
  if (savedAll.empty())
    unsetenv("LC_ALL");
  else
    setenv("LC_ALL", savedAll.c_str(), 1);
  Platform().Reset();
}
