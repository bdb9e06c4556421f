// The pre-flight report of a replace: what a replace from the old folder to the new one would
// find in Docs (DOCUMENT_NAME) and Cards (DOCSFOLDER), computed by one read of each table with
// the very rules the passes use (docs/PathRewriteRules.h), writing nothing.
//
// Per table:
//   will change       the value matches the pass's rule and its rewrite differs from it (what a
//                     dry run counts "to rewrite");
//   already new       the value lies under the new folder already: a reverse replace (new to old)
//                     would take it back too, although this replace never wrote it;
//   re-run hazard     the rewrite matches the pass's rule again and would change once more: a
//                     second run rewrites it again (only when the new folder lies under the old);
//   too long          the rewrite has more characters than the column's enforced width (engines
//                     that enforce one; the local server does not);
//   old file missing  with a file check: the value's file or folder, mapped to the old root,
//                     does not exist;
//   new file present  with a file check and a new root: the rewrite's file or folder, mapped to
//                     the new root, exists;
//   other folders     the values the pass's rule does not take that are absolute paths, by
//                     their leading folder (docpaths/StoredFolders.h, the survey's default
//                     depth): a forgotten spelling of the old folder shows here before anything
//                     changes.
//
// With several old folders (FolderMappings.h) each value counts under the row whose rule
// rewrites it (already new: the row whose new folder it lies under, the longest, the first of
// aliases); the tables' counts are the sums.
//
// Mapping a stored path to this machine: the part after the old folder is appended to the root
// with its backslashes turned into slashes, so with the old folder C:\Docs mounted at /mnt/docs,
// C:\Docs\Acme\a.doc is /mnt/docs/Acme/a.doc. New paths map the same way: the part after the
// new folder, appended to the new root.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "docpaths/DatDocsDBServices.h"
#include "docpaths/FolderMappings.h"
#include "docpaths/PathPasses.h"
#include "docpaths/StoredFolders.h"

// How many samples each measure keeps.
inline constexpr size_t kReportSamples = 20;

// A count and its first samples: the stored value and a related one (the rewrite, or the local
// path that was checked; empty for values already under the new folder).
struct TReportMeasure {
  int64_t Count = 0;
  std::vector<std::pair<std::string, std::string>> Samples;
  void Add(const std::string& value, const std::string& related);
};

struct TTableReport {
  std::string Table;  // "Docs" or "Cards"
  int64_t Examined = 0;
  std::optional<size_t> Width;  // the column's enforced width, in characters
  TReportMeasure WillChange;
  TReportMeasure AlreadyNew;
  TReportMeasure RerunHazard;
  TReportMeasure TooLong;
  TReportMeasure OldFileMissing;
  TReportMeasure NewFilePresent;
  TFolderTally OtherFolders{kDefaultSurveyDepth, TStoredValue::File};
};

// How many of the other folders the report names, most records first.
inline constexpr size_t kReportOtherFolders = 5;

// Which files to look for: the old folder mounted at OldRoot, the new one at NewRoot (empty: the
// new paths are not checked).
struct TFileCheck {
  bool Enabled = false;
  std::string OldRoot;
  std::string NewRoot;
};

// One mapping row's measures (Examined stays 0: every row sees every record).
struct TMappingRowReport {
  TFolderMapping Mapping;
  bool NewUnderOld = false;
  TTableReport Docs;
  TTableReport Cards;
};

struct TPreflightReport {
  TPreflightReport() {
    Docs.Table = kDocsPass.Name;
    Cards.Table = kCardsPass.Name;
    Cards.OtherFolders = TFolderTally(kDefaultSurveyDepth, TStoredValue::Folder);
    Prefs.Table = kPrefPass.Name;
  }
  bool NewUnderOld = false;  // a new folder lies under an old one: a re-run hazard
  TFileCheck Files;
  TTableReport Docs;  // with several folders: the counts of all rows, their first samples
  TTableReport Cards;
  // The folder preferences (docpaths/FolderPrefs.h): Examined and WillChange only.
  TTableReport Prefs;
  std::vector<TMappingRowReport> Rows;  // several folders: per row; empty for one
};

// Reads Docs, Cards and then the text values of Pref once each through the main connection,
// read-only. The observers see
// progress and each value that will change, as in a dry run's passes. Failures propagate.
TPreflightReport MakePreflightReport(const std::string& oldPath, const std::string& newPath,
                                     const TFileCheck& files,
                                     TRewriteObserver* docsObserver = nullptr,
                                     TRewriteObserver* cardsObserver = nullptr);
// The same for several folders at once, still one read of each table.
TPreflightReport MakePreflightReport(const TFolderMappingRows& rows, const TFileCheck& files,
                                     TRewriteObserver* docsObserver = nullptr,
                                     TRewriteObserver* cardsObserver = nullptr);
