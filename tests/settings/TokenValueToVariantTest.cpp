#include <gtest/gtest.h>

#include "common/FormatSettings.h"
#include "common/SysUtils.h"
#include "settings/DatPrefDM_Unit.h"

namespace {

class TokenValue : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = FormatSettings(); }
  void TearDown() override { FormatSettings() = saved_; }
  void Formats(const char* shortDate, const char* shortTime) {
    FormatSettings().ShortDateFormat = shortDate;
    FormatSettings().ShortTimeFormat = shortTime;
    FormatSettings().DateSeparator = '/';
    FormatSettings().TimeSeparator = ':';
  }

 private:
  TFormatSettings saved_;
};

TEST_F(TokenValue, TextLettersKeepTheTextAndOthersGiveZero) {
  for (const char* letter : {"A", "a", "M", "CI"})
    EXPECT_EQ(TokenValueToVariant(letter, " x'y "), TPrefValue(std::string(" x'y "))) << letter;
  EXPECT_EQ(TokenValueToVariant("Q", "Y"), TPrefValue(int64_t{0}));
  EXPECT_EQ(TokenValueToVariant("i", "-42"), TPrefValue(int64_t{-42}));
  EXPECT_EQ(TokenValueToVariant("N", "2.5"), TPrefValue(2.5));
}

TEST_F(TokenValue, BooleanIsTrueOnlyForY) {
  EXPECT_EQ(TokenValueToVariant("B", "y"), TPrefValue(true));
  EXPECT_EQ(TokenValueToVariant("b", "Y"), TPrefValue(true));
  EXPECT_EQ(TokenValueToVariant("B", "TRUE"), TPrefValue(false));
  EXPECT_EQ(TokenValueToVariant("B", ""), TPrefValue(false));
}

TEST_F(TokenValue, UnparsableNumbersAndDatesAreConversionErrors) {
  Formats("dd/mm/yyyy", "hh:nn");
  for (auto [letter, text] : {std::pair{"I", "12a"},
                              {"I", "4294967296"},
                              {"N", "x"},
                              {"T", "25:00"},
                              {"D", "2020"},
                              {"DT", "nonsense"}})
    EXPECT_THROW(TokenValueToVariant(letter, text), EConvertError) << letter << " " << text;
}

TEST_F(TokenValue, DatesAreReadInTheProcessOrderAndCutToItsFormat) {
  Formats("dd/mm/yyyy", "hh:nn");
  const double dayFirst = std::get<double>(TokenValueToVariant("D", "03/04/2021"));
  EXPECT_EQ(dayFirst, 44289);  // 3 April 2021
  Formats("mm/dd/yyyy", "hh:nn");
  const double monthFirst = std::get<double>(TokenValueToVariant("D", "03/04/2021"));
  EXPECT_EQ(monthFirst, 44259);  // 4 March 2021

  // The time format shows no seconds, so they are lost on the way.
  const double time = std::get<double>(TokenValueToVariant("T", "13:45:59"));
  EXPECT_DOUBLE_EQ(time, (13 * 60 + 45) / 1440.0);
  const TPrefValue stamp = TokenValueToVariant("DT", "03/04/2021 13:45:59");
  ASSERT_TRUE(std::holds_alternative<TPrefDateTime>(stamp));
  EXPECT_DOUBLE_EQ(std::get<TPrefDateTime>(stamp).Value, 44259 + (13 * 60 + 45) / 1440.0);
}

TEST(PrefValueConversion, FitsTheFieldKindOrIsAVariantError) {
  EXPECT_EQ(PrefValueToInt(std::string(" 17 ")), 17);
  EXPECT_EQ(PrefValueToInt(2.5), 2);  // half to even
  EXPECT_EQ(PrefValueToInt(true), -1);
  EXPECT_EQ(PrefValueToText(int64_t{0}), "0");
  EXPECT_EQ(PrefValueToText(false), "False");
  EXPECT_EQ(PrefValueToText(0.25), "0.25");
  EXPECT_FALSE(PrefValueToBool(int64_t{0}));
  EXPECT_TRUE(PrefValueToBool(std::string("true")));
  EXPECT_EQ(PrefValueToFloat(std::string("1.5")), 1.5);
  EXPECT_THROW(PrefValueToInt(std::string("abc")), EVariantError);
  EXPECT_THROW(PrefValueToInt(int64_t{1} << 40), EVariantError);
  EXPECT_THROW(PrefValueToBool(std::string("Y")), EVariantError);
  EXPECT_THROW(PrefValueToFloat(std::string("")), EVariantError);
}

TEST(PrefQuery, KeepsItsShapeAndBindsTheUserId) {
  EXPECT_EQ(PrefQuerySql("-1"),
            "Select * From Pref\nWhere UPPER(\nUSER_ID) = '-2' \nOR (UPPER(\nUSER_ID) = '-1'\n)"
            "\nOR UPPER(\nUSER_ID) = :UserId\nOrder By UPPER(USER_ID)");
  EXPECT_EQ(PrefQuerySql("o'brien").find("o'brien"), std::string::npos);
}

}  // namespace
