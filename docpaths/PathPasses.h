// What a replace touches, in one place. Each pass rewrites one field of one table by one of the
// two path rules (PathRewriteRules.h), through the main connection; the pass's name is what its
// rows carry in the undo journal and what the run's counts and the messages call it. Replace,
// dry run, pre-flight report, stored-folder survey, undo and resume all read this catalogue.
//
// The preferences pass is the third, run only when the administrator asks for it
// (docpaths/FolderPrefs.h): it takes the text values of the Pref rows by the folder rule.
#pragma once

#include <cstddef>
#include <string>

#include "docpaths/TableRewriteWalk.h"

enum class TPathRuleKind {
  DocumentFile,  // a document's full file name: the document rule
  CardFolder,    // a card's documents folder: the card rule (folder boundary)
};

struct TPathPass {
  const char* Name;   // "Docs": in the journal's rows, the run's counts and the messages
  const char* Table;  // the table as the engine opens it
  const char* Field;  // the field rewritten
  TPathRuleKind Rule;
};

inline constexpr TPathPass kDocsPass{"Docs", "Docs.adt", "DOCUMENT_NAME",
                                     TPathRuleKind::DocumentFile};
// The shared card table name "Cards" with the extension ".Adt".
inline constexpr TPathPass kCardsPass{"Cards", "Cards.Adt", "DOCSFOLDER",
                                      TPathRuleKind::CardFolder};
inline constexpr TPathPass kPrefPass{"Pref", "Pref.adt", "VALUE", TPathRuleKind::CardFolder};
// In the order a run walks them.
inline constexpr TPathPass kPathPasses[] = {kDocsPass, kCardsPass, kPrefPass};

// Binds a table created at run time to the pass's table on the main connection.
void BindPassTable(TAdsTable& table, const TPathPass& pass);

// The pass's rule from oldPath to newPath.
TValueRule PassRule(const TPathPass& pass, const std::string& oldPath, const std::string& newPath);
// How many characters of a value the rule rewrote are the new folder (what follows them lay
// below the old folder).
size_t NewFolderChars(const TPathPass& pass, const std::string& oldPath,
                      const std::string& newPath);
