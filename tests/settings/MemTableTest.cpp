#include <gtest/gtest.h>

#include <string>

#include "common/SysUtils.h"
#include "settings/MemTable.h"

TEST(MemTable, ConvertsValuesByColumnKindAndKeepsInsertionOrder) {
  TMemTable table(nullptr, "LangTbl",
                  {{"TEXT", TMemFieldKind::Text, 5},
                   {"NUM", TMemFieldKind::Integer, 0},
                   {"FLAG", TMemFieldKind::Boolean, 0}});
  table.Open();
  const struct {
    std::string text, num, flag;
    std::string wantText, wantNum, wantFlag;
  } rows[] = {
      {"abcdefgh", "", "y", "abcde", "0", "True"},
      {"שלום עולם", " -42 ", "TRUE", "שלום ", "-42", "True"},  // cut after 5 letters, not bytes
      {"", "7", "N", "", "7", "False"},
      {"ab", "0", "true ", "ab", "0", "False"},
  };
  for (const auto& row : rows) {
    table.Insert();
    table.SetFieldFromText("text", row.text);
    table.SetFieldFromText("Num", row.num);
    table.SetFieldFromText("FLAG", row.flag);
    table.Post();
  }
  ASSERT_EQ(table.RecordCount(), std::size(rows));
  table.First();
  for (const auto& row : rows) {
    ASSERT_FALSE(table.Eof());
    EXPECT_EQ(table.FieldText("TEXT"), row.wantText);
    EXPECT_EQ(table.FieldText("NUM"), row.wantNum);
    EXPECT_EQ(table.FieldText("FLAG"), row.wantFlag);
    table.Next();
  }
  EXPECT_TRUE(table.Eof());
}

TEST(MemTable, AnUnknownColumnOrANonNumberIsAnError) {
  TMemTable table(nullptr, "LangTbl",
                  {{"RECID", TMemFieldKind::Text, 20}, {"NUM", TMemFieldKind::Integer, 0}});
  table.Open();
  table.Insert();
  EXPECT_THROW(table.SetFieldFromText("NUM", "12a"), EConvertError);
  try {
    table.SetFieldFromText("RECORD_ID", "x");
    FAIL() << "an unknown column was accepted";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "LangTbl: Field 'RECORD_ID' not found");
  }
  table.Post();
  table.Close();
  EXPECT_THROW(table.Insert(), EDatabaseError);
}
