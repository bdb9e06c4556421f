#include <gtest/gtest.h>

#include "platform/EADSDatabaseError.h"
#include "platform/engine/postgres/PgNamedParams.h"

TEST(PgNamedParams, NumbersParametersAndLeavesQuotedTextCastsAndCommentsAlone) {
  const struct {
    const char* sql;
    const char* numbered;
    std::vector<std::string> names;
  } cases[] = {
      {"select * from Lang where LangId =:LangId and RecId=:RecId",
       "select * from Lang where LangId =$1 and RecId=$2",
       {"LangId", "RecId"}},
      {"where a = :V or b = :v", "where a = $1 or b = $1", {"V"}},  // one name, one number
      {"select ':Not', 'it''s :Not', E'\\' :Not', \":Not\" from t where x = :Yes",
       "select ':Not', 'it''s :Not', E'\\' :Not', \":Not\" from t where x = $1",
       {"Yes"}},
      {"select x::text, $$ :Not $$, $q$ :Not $q$ from t where y = :Y",
       "select x::text, $$ :Not $$, $q$ :Not $q$ from t where y = $1",
       {"Y"}},
      {"select 1 -- :Not\n/* :Not */ where z = :Z",
       "select 1 -- :Not\n/* :Not */ where z = $1",
       {"Z"}},
      {"select 'unterminated :Not", "select 'unterminated :Not", {}},
      {"where a = :ערך", "where a = $1", {"ערך"}},
  };
  for (const auto& c : cases) {
    const TPgStatementText out = NumberNamedParams(c.sql);
    EXPECT_EQ(out.Sql, c.numbered) << c.sql;
    EXPECT_EQ(out.Names, c.names) << c.sql;
  }
}

TEST(PgNamedParams, ValuesFollowTheNumbersAndAMissingOneIsNamed) {
  const TPgStatementText statement = NumberNamedParams("where b = :B and a = :A");
  const TAceParams params = {{"a", "1"}, {"unused", "x"}, {"b", "2"}};
  const auto values = ParamValues(statement, params);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_STREQ(values[0], "2");
  EXPECT_STREQ(values[1], "1");
  try {
    ParamValues(statement, {{"A", "1"}});
    FAIL() << "a parameter without a value was accepted";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrParamNotSet);
    EXPECT_NE(e.Message().find("'B'"), std::string::npos) << e.Message();
  }
}
