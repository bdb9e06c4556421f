// The folder preferences: the Pref rows of any level (system, all users, each user) whose text
// value (types A, M and CI: db/PrefTypes.h) names an old folder by the folder rule of the card
// pass, so that once the stored paths moved the CRM also files new documents, templates and
// faxes in the new folder. Only the folder part of a value changes: what follows it, and a
// trailing backslash, stay as stored. The pre-flight report counts them; a replace rewrites them
// as its third pass when asked to (commands/ReplaceCommand.h), journalled under "Pref" like the
// other passes, so an undo puts them back and a resume finishes them.
#pragma once

#include <functional>
#include <string>

#include "docpaths/DatDocsDBServices.h"
#include "docpaths/PreflightReport.h"

// Reads the Pref rows once, read-only, and hands each text value to each with its row's
// USER_ID and TOKEN (the other types are left out: the store converts them).
void ForEachTextPref(const std::function<void(const std::string& userId, const std::string& token,
                                              const std::string& value)>& each);

// The level a Pref row's USER_ID names: "system" (-2), "all users" (-1), else "user <id>".
std::string PrefLevelName(const std::string& userId);

// rule as the preferences take it: a value ending with a backslash keeps it.
TValueRule FolderPrefRule(TValueRule rule);

// Reads the Pref rows once, read-only, into report: Examined the text values, WillChange those
// rule rewrites, each sample "<TOKEN> (<level>): <value>" with its rewrite.
void ReportFolderPrefs(const TValueRule& rule, TTableReport& report);

// Walks Pref and rewrites the text values rule takes, as every pass walks its table
// (docpaths/TableRewriteWalk.h): journalled, committed and counted alike.
void WalkFolderPrefs(const TValueRule& rule, const TPassOptions& options, TPassResult& result);
