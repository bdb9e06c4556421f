// The survey of the stored folders: what leading folders the database's paths name, read once
// from Docs (DOCUMENT_NAME), Cards (DOCSFOLDER) and the text values of the preferences (Pref
// rows of the text types of db/PrefTypes.h, every level), grouped by docpaths/StoredFolders.h.
// It reads like a dry run: the tables opened read-only, no lock, nothing written.
#pragma once

#include <cstdint>
#include <string>

#include "docpaths/DatDocsDBServices.h"
#include "docpaths/PathPasses.h"
#include "docpaths/StoredFolders.h"

struct TTableSurvey {
  TTableSurvey(const char* table, int depth, TStoredValue what)
      : Table(table), Folders(depth, what) {}
  std::string Table;  // "Docs", "Cards", "Pref"
  TFolderTally Folders;
};

struct TStoredFolderSurvey {
  explicit TStoredFolderSurvey(int depth)
      : Depth(depth),
        Docs(kDocsPass.Name, depth, TStoredValue::File),
        Cards(kCardsPass.Name, depth, TStoredValue::Folder),
        Pref("Pref", depth, TStoredValue::Preference) {}
  int Depth;
  TTableSurvey Docs;
  TTableSurvey Cards;
  TTableSurvey Pref;
};

// Reads the three tables through the main connection; the observers see each table's progress.
// Failures propagate.
TStoredFolderSurvey SurveyStoredFolders(int depth, TRewriteObserver* docsObserver = nullptr,
                                        TRewriteObserver* cardsObserver = nullptr);
