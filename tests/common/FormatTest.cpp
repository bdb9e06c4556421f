#include "common/Format.h"

#include <gtest/gtest.h>

#include "common/StrTable.h"
#include "common/SysUtils.h"

TEST(Format, PlaceholdersOfTheProductTexts) {
  EXPECT_EQ(Format("%D %D:%D:%D(%D) %D", {1, 2, 3, 4, 5, 93784005}), "1 2:3:4(5) 93784005");
  EXPECT_EQ(Format("%d %d %d %d %s ", {2, 6, 1, 7601, "SP1"}), "2 6 1 7601 SP1 ");
  EXPECT_EQ(Format("%s=%s", {"Proc_Name", "Change Docs Path"}), "Proc_Name=Change Docs Path");
  EXPECT_EQ(Format("100%% %d", {-7}), "100% -7");
  EXPECT_EQ(Format("UserLog_%s.TXT", {"50%s"}), "UserLog_50%s.TXT");  // arguments are not re-read
}

TEST(Format, StringTableTemplates) {
  EXPECT_EQ(Format(LoadStr(sEngineVersionMismatch), {"11.10", "11.02"}),
            "A database engine version mismatch was detected.\r\nThe required version is "
            "11.10.\r\nAn older version, 11.02, is present.\r\n");
  EXPECT_EQ(Format(LoadStr(sRegisteredInLog), {"boom", ""}), "Message registered in log file:");
  EXPECT_EQ(Format(LoadStr(sMissingFilesStopped), {"VrlChangeDocsPath", "/opt/Utils/", "Ansi.chr"}),
            "VrlChangeDocsPath operation stopped.\r\n\r\nFolder:\r\n/opt/Utils/\r\n\r\n"
            "Missing Files:\r\nAnsi.chr");
}

TEST(Format, MismatchedArgumentsRaiseConvertError) {
  EXPECT_THROW(Format("%s %s", {"one"}), EConvertError);
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s", {5}), EConvertError);
  EXPECT_THROW(Format("%x", {5}), EConvertError);
  EXPECT_THROW(Format("50%", {}), EConvertError);
}

TEST(StrTable, NumberedTextsByteForByte) {
  EXPECT_EQ(LoadStr(sFileNotFound), "file not found");
  EXPECT_EQ(LoadStr(sProcessFailed), "The process failed");
  EXPECT_EQ(LoadStr(sRemoteControlStopped).substr(0, 21), "Procedure stopped.\n\r\n");
  EXPECT_EQ(LoadStr(static_cast<TStrId>(1)), "");
}
