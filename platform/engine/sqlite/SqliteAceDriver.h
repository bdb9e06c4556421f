// The database engine stand-in over SQLite. The database of a connect path is the file
// "Varnel.sqlite" in that folder; the engine never creates one while connecting.
#pragma once

#include <memory>
#include <string>

#include "platform/AceDriver.h"

inline constexpr const char* SqliteDatabaseFileName = "Varnel.sqlite";

// The engine library the program entries put into the platform holder.
std::unique_ptr<TAceDriver> CreateSqliteAceDriver();

// Creates folder/Varnel.sqlite (WAL journal) and runs the schema text in it; the folder must
// exist. EADSDatabaseError when a database is already there or the schema fails (the half-made
// file is removed).
void CreateSqliteDatabase(const std::string& folder, const std::string& schemaSql);
