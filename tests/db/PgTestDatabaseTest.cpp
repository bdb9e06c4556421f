#include <gtest/gtest.h>

#include <string>

#include "tests/support/PgTestServer.h"

namespace {

int DatabasesNamed(const std::string& name) {
  return static_cast<int>(
      PgTestRows(PgTestConninfo(), "SELECT 1 FROM pg_database WHERE datname = '" + name + "'")
          .size());
}

}  // namespace

TEST(PgTestDatabase, IsAFreshDatabaseOfItsOwnThatGoesWithTheObject) {
  std::string name;
  {
    TPgTestDatabase first;
    TPgTestDatabase second;
    name = first.Name();
    EXPECT_NE(first.Name(), second.Name());
    EXPECT_EQ(DatabasesNamed(name), 1);
    PgTestExec(first.Conninfo(),
               "CREATE TABLE Probe (VALUE TEXT); INSERT INTO Probe VALUES "
               "('C:\\VarnelDocs\\a''b'), (NULL)");
    const auto rows = PgTestRows(first.Conninfo(), "SELECT VALUE FROM probe ORDER BY 1");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "C:\\VarnelDocs\\a'b");
    EXPECT_EQ(rows[1][0], "<NULL>");
    // The table lives in that database only.
    EXPECT_THROW(PgTestRows(second.Conninfo(), "SELECT * FROM probe"), std::runtime_error);
    EXPECT_EQ(PgTestRows(first.Conninfo(), "SELECT current_database()")[0][0], name);
  }
  EXPECT_EQ(DatabasesNamed(name), 0);
}

TEST(PgTestDatabase, ConninfoKeepsTheServerAndNamesTheNewDatabase) {
  const std::string conninfo =
      PgConninfoWithDatabase("host=/tmp/a\\ b port=54329 user=postgres dbname=postgres", "x'y");
  EXPECT_NE(conninfo.find("host='/tmp/a b'"), std::string::npos) << conninfo;
  EXPECT_NE(conninfo.find("port='54329'"), std::string::npos) << conninfo;
  EXPECT_NE(conninfo.find("user='postgres'"), std::string::npos) << conninfo;
  EXPECT_NE(conninfo.find("dbname='x\\'y'"), std::string::npos) << conninfo;
  EXPECT_EQ(conninfo.find("dbname='postgres'"), std::string::npos) << conninfo;
  EXPECT_THROW(PgConninfoWithDatabase("host='unterminated", "x"), std::runtime_error);
}
