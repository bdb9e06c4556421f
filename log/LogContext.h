// The context texts of a log entry: who sent it, which forms were open, which SQL failed, and
// the machine, user and up-time of the first entry of a run. None of them lets a failure
// escape: each returns what it had built so far.
#pragma once

#include <exception>
#include <string>

class TObject;

// Name of the unit that declares obj's class; empty when unknown.
std::string GetUnitName(const TObject* obj);
// " " + name + " " + class name of the nearest named parent of a control; empty otherwise.
std::string GetNamedParentText(const TObject* control);
// " Unit - <unit>." and, for a control on a form, " Form - <unit>.<name>-><class>".
std::string GetSenderInfo(const TObject* sender);
// Active form and control, then "--" and one line per open form (at most 100).
std::string GetFormsText();
// "SQLText:\r\n" + the SQL of the failing query of a database error, or empty.
std::string GetSqlText(const std::exception* e);
// Looks for the query dataSetName in the form (kind "FORM") or data module (any other kind)
// named ownerName; true when such an owner exists. sql receives a loggable SQL text.
bool FindQuerySql(const std::string& kind, const std::string& ownerName,
                  const std::string& dataSetName, std::string& sql);
// False for a statement that mentions "SysPM" in any letter case.
bool IsSqlLoggable(const std::string& sql);
// "TC: days hours:minutes:seconds(ms) ticks" from the system's tick count.
std::string GetTickText();
// Up-time, module path, program path when different, database folder (no final line end).
std::string GetModuleInfoText();
std::string GetUserNameText();
std::string GetComputerNameText();
