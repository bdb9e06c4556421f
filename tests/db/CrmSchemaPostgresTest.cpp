#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "db/CrmSchema.h"
#include "db/CrmSchemaPostgres.h"
#include "tests/support/PgTestServer.h"

namespace {

constexpr const char* kRowId = "  VRL_ROWID BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY";

struct TTranslation {
  const char* Source;
  std::string Expected;
};

}  // namespace

TEST(CrmSchemaPostgres, TranslatesEachStatementKind) {
  const TTranslation cases[] = {
      {"CREATE TABLE Docs (RECID TEXT NOT NULL, DOCUMENT_NAME VARCHAR(260));",
       "CREATE TABLE Docs (\n" + std::string(kRowId) +
           ",\n  RECID TEXT NOT NULL,\n  DOCUMENT_NAME VARCHAR(260)\n);\n"},
      // Integers widen to SQLite's 64 bits; letter case of the types does not matter.
      {"create table valtblacoin (\n  RECID integer not null,\n  VALUE text\n);",
       "CREATE TABLE valtblacoin (\n" + std::string(kRowId) +
           ",\n  RECID BIGINT NOT NULL,\n  VALUE TEXT\n);\n"},
      {"-- a comment; with a semicolon\nCREATE UNIQUE INDEX Docs_PRIMARY ON Docs (RECID);",
       "CREATE UNIQUE INDEX Docs_PRIMARY ON Docs (RECID);\n"},
      {"CREATE INDEX Lang_PRIMARY\n  ON Lang (LANGID, RECID); -- trailing",
       "CREATE INDEX Lang_PRIMARY ON Lang (LANGID, RECID);\n"},
      {"-- only a comment\n", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TranslateSchemaToPostgres(c.Source), c.Expected) << c.Source;
}

TEST(CrmSchemaPostgres, RefusesWhatItCannotTranslate) {
  const char* refused[] = {
      "CREATE TABLE T (A REAL);",                         // a type without a remote twin
      "CREATE TABLE T (A BLOB);",                         //
      "CREATE TABLE T (A VARCHAR);",                      // a width is needed
      "CREATE TABLE T (A TEXT(10));",                     //
      "CREATE TABLE T (A TEXT DEFAULT 'x');",             // quoted text
      "CREATE TABLE T (A TEXT UNIQUE);",                  // a constraint it does not know
      "CREATE TABLE T (vrl_rowid INTEGER);",              // the identity column's name
      "CREATE VIEW V AS SELECT 1;",                       // another statement
      "DROP TABLE Docs;",                                 //
      "CREATE TABLE T (A TEXT)",                          // no closing ';'
      "CREATE UNIQUE INDEX I ON T (A) WHERE A IS NULL;",  // a partial index
  };
  for (const char* source : refused)
    EXPECT_THROW(TranslateSchemaToPostgres(source), std::invalid_argument) << source;
}

TEST(CrmSchemaPostgres, NamesTheTablesOfTheSchemaInItsOrder) {
  EXPECT_THAT(SchemaTableNames(CrmSchemaSql()),
              ::testing::ElementsAre("Docs", "Cards", "Pref", "SysLock", "Lang", "LangUser",
                                     "SysRec", "valtblacoin"));
}

TEST(CrmSchemaPostgres, TheTranslatedCrmSchemaLoadsWithTheTeamsColumnRules) {
  TPgTestDatabase db;
  PgTestExec(db.Conninfo(), CrmSchemaPostgresSql());
  // Every table starts with the identity column; names folded to lower case.
  const auto firstColumns = PgTestRows(
      db.Conninfo(),
      "SELECT table_name, column_name, data_type, is_identity FROM information_schema.columns "
      "WHERE table_schema = 'public' AND ordinal_position = 1 ORDER BY table_name");
  ASSERT_EQ(firstColumns.size(), 8u);
  for (const auto& row : firstColumns)
    EXPECT_THAT(row, ::testing::ElementsAre(::testing::_, "vrl_rowid", "bigint", "YES"));
  const auto types = PgTestRows(db.Conninfo(),
                                "SELECT table_name || '.' || column_name, data_type, "
                                "coalesce(character_maximum_length, 0), is_nullable FROM "
                                "information_schema.columns WHERE table_schema = 'public'");
  using ::testing::Contains;
  using ::testing::ElementsAre;
  EXPECT_THAT(types,
              Contains(ElementsAre("docs.document_name", "character varying", "260", "YES")));
  EXPECT_THAT(types, Contains(ElementsAre("cards.docsfolder", "character varying", "260", "YES")));
  EXPECT_THAT(types, Contains(ElementsAre("docs.recver", "bigint", "0", "YES")));
  EXPECT_THAT(types, Contains(ElementsAre("valtblacoin.recid", "bigint", "0", "NO")));
  EXPECT_THAT(types, Contains(ElementsAre("docs.recid", "text", "0", "NO")));
  EXPECT_EQ(types.size(), 8u + 22u + 7u + 5u + 4u + 7u + 7u + 2u + 3u);
  const auto indexes =
      PgTestRows(db.Conninfo(),
                 "SELECT indexname FROM pg_indexes WHERE schemaname = 'public' AND "
                 "indexname NOT LIKE '%pkey' ORDER BY 1");
  EXPECT_EQ(indexes.size(), 8u);
  EXPECT_THAT(indexes, Contains(ElementsAre("docs_primary")));
  EXPECT_THAT(indexes, Contains(ElementsAre("lang_primary")));

  // Rows take their natural order from the identity column without naming it; the unique index
  // holds as on the local server, and the document path's width is enforced.
  PgTestExec(db.Conninfo(), "INSERT INTO Docs (RECID) VALUES ('b'), ('a')");
  EXPECT_THAT(PgTestRows(db.Conninfo(), "SELECT RECID FROM Docs ORDER BY VRL_ROWID"),
              ElementsAre(ElementsAre("b"), ElementsAre("a")));
  EXPECT_THROW(PgTestExec(db.Conninfo(), "INSERT INTO Docs (RECID) VALUES ('a')"),
               std::runtime_error);
  EXPECT_THROW(PgTestExec(db.Conninfo(),
                          "INSERT INTO Docs (RECID, DOCUMENT_NAME) VALUES ('c', "
                          "repeat('x', 261))"),
               std::runtime_error);
}
