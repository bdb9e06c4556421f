// The CRM schema for the remote server (PostgreSQL), translated by code from the one schema file
// (db/CrmSchema.sql), so both engines always hold the same tables:
//   - names stay unquoted (PostgreSQL folds them to lower case; the engine matches without case);
//   - every table gets a first column VRL_ROWID BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
//     the natural record order of the remote engine, as the rowid is on the local one;
//   - INTEGER becomes BIGINT (SQLite's integers are 64-bit); TEXT and VARCHAR(n) stay;
//   - indexes keep their names and columns.
// A statement or column type the translation does not know is refused, never passed on as is.
#pragma once

#include <string>
#include <vector>

// The name of the identity column every remote table starts with.
inline constexpr const char* RemoteRowIdColumn = "VRL_ROWID";

// schemaSql translated; throws std::invalid_argument naming what it cannot translate.
std::string TranslateSchemaToPostgres(const std::string& schemaSql);
// The CRM schema translated (built once).
const std::string& CrmSchemaPostgresSql();
// The tables schemaSql creates, in its order, as written there.
std::vector<std::string> SchemaTableNames(const std::string& schemaSql);
