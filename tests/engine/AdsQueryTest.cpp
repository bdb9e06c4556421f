#include <gtest/gtest.h>

#include <string>

#include "platform/engine/AdsComponents.h"
#include "tests/support/EngineTestDatabase.h"

namespace {

struct TQueryModule : TComponent {
  using TComponent::TComponent;
  std::string ClassName() const override { return "TQueryModule"; }
};

// A query on a test database of either engine, bound like the laid-out ones.
struct TQueryFixture {
  explicit TQueryFixture(TTestEngine engine = TTestEngine::Local)
      : install(engine), module(nullptr, "DBConnectionDM"), connection(&module, "DBConnection") {
    connection.ConnectPath = install.ConnectPath();
    connection.AdsServerTypes = install.ServerType();
    query.DatabaseName = "DBConnectionDM.DBConnection";
  }
  TEngineTestDatabase install;
  TQueryModule module;
  TAdsConnection connection;
  TAdsQuery query{&module, "SysRecQry"};
};

// Lines of quoted UTF-8 texts, CR LF between them, about size bytes.
std::string BigMemo(size_t size) {
  std::string memo = "\"RECID\",\"VALUE\"";
  for (int i = 0; memo.size() < size; ++i)
    memo += "\r\n\"R" + std::to_string(i) + "\",\"ערך \"" + std::to_string(i) + "\" value\"";
  return memo;
}

class AdsQuery : public testing::TestWithParam<TTestEngine> {};

}  // namespace

INSTANTIATE_TEST_SUITE_P(, AdsQuery, testing::Values(TTestEngine::Local, TTestEngine::Remote),
                         EngineName);

TEST_P(AdsQuery, BindsParametersByNameAndRebindsOnTheNextOpen) {
  TQueryFixture f(GetParam());
  f.install.Open()->ExecSQL(
      "INSERT INTO LangUser (LANGID, RECID, VALUE) VALUES ('LNGENG', 'R1', 'One'), "
      "('LNGHEB', 'R1', 'אחד'), ('LNGHEB', 'R2', 'שניים')",
      {});
  TAdsQuery& q = f.query;
  q.SQL = "select * from LangUser\nwhere LangId =:LangId order by VALUE";
  q.SetParam("LANGID", "LNGHEB");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 2);
  EXPECT_EQ(q.FieldByName("VALUE").AsString(), "אחד");
  q.SetParam("langid", "LNGENG");  // counts from the next open
  q.Next();
  EXPECT_EQ(q.FieldByName("VALUE").AsString(), "שניים");
  q.Close();
  q.Open();
  EXPECT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldByName("VALUE").AsString(), "One");
  q.Close();

  // A value is bound, never spliced into the text.
  q.SetParam("LangId", "x' OR '1'='1");
  q.Open();
  EXPECT_TRUE(q.Eof());
}

TEST_P(AdsQuery, AParameterWithoutAValueIsAnErrorNamingIt) {
  TQueryFixture f(GetParam());
  TAdsQuery& q = f.query;
  q.SQL = "select * from SysRec where recid =:RecId";
  q.SetParam("LangId", "LNGENG");  // a value the text does not use is ignored
  try {
    q.Open();
    FAIL() << "opened without a value for RecId";
  } catch (const EADSDatabaseError& e) {
    EXPECT_EQ(e.ACEErrorCode, AdsErrParamNotSet);
    EXPECT_NE(std::string(e.what()).find("'RecId'"), std::string::npos) << e.what();
    EXPECT_EQ(e.DataSetName, "SysRecQry");
  }
  EXPECT_FALSE(q.Active());
  q.SQL = "delete from SysRec where recid =:RecId";
  EXPECT_THROW(q.ExecSQL(), EADSDatabaseError);
  q.SetParam("RecId", "NONE");
  EXPECT_EQ(q.ExecSQL(), 0);
}

TEST(AdsQueryLocal, MemoColumnsReadWholeWhateverTheirStorage) {
  TQueryFixture f;
  const std::string big = BigMemo(3 << 20);
  const std::string withNul = std::string("a\0b", 3);
  auto db = f.install.Open();
  db->ExecSQL("INSERT INTO SysRec (RECID, MEMO) VALUES ('BIG', :Memo), ('EMPTY', NULL)",
              {{"Memo", big}});
  db->ExecSQL("INSERT INTO SysRec (RECID, MEMO) VALUES ('BLOB', CAST(:Memo AS BLOB))",
              {{"Memo", withNul}});
  TAdsQuery& q = f.query;
  q.SQL = "select * from SysRec where recid =:RecId";
  const struct {
    const char* recId;
    const std::string& memo;
    bool isNull;
  } cases[] = {{"BIG", big, false}, {"BLOB", withNul, false}, {"EMPTY", {}, true}};
  for (const auto& c : cases) {
    q.Close();
    q.SetParam("RecId", c.recId);
    q.Open();
    ASSERT_FALSE(q.Eof()) << c.recId;
    EXPECT_EQ(q.FieldByName("RECID").AsString(), c.recId);
    EXPECT_TRUE(q.FieldByName("MEMO").AsString() == c.memo) << c.recId;
    EXPECT_EQ(q.FieldByName("MEMO").IsNull(), c.isNull) << c.recId;
  }
}
