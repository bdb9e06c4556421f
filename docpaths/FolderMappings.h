// Several old folders moved in one replace: the rows of old and new folder, the checks that a
// set of rows makes sense, the combined rule of each pass, and the mapping file an
// administrator writes for them.
//
// A value is rewritten by the row whose old folder is the longest to match it, by the rule of
// its pass (PathRewriteRules.h): with C:\Docs\Scans and C:\Docs both given, C:\Docs\Scans\a.tif
// goes by the first and C:\Docs\b.doc by the second; for a card, C:\Docs never takes C:\Docs2.
// Several old folders may name one new folder (aliases of one share).
//
// A set is refused when an old folder is given twice (letter case and one trailing backslash
// aside), or when a row's new folder lies under (or is) another row's old folder that goes
// elsewhere: what the run puts there would belong to that other row, which moves it on (A to B
// beside B to C). A new folder under its own old folder, or under the old folder of an alias
// moved to the same new folder, is the re-run hazard of a one-folder replace, checked as there.
//
// The mapping file: UTF-8 text (a byte order mark is skipped), a header row "old,new" (letter
// case aside), then one row per folder, fields separated by a comma, rows by CR LF or LF. A
// field holding a comma or a quote is quoted, its quotes doubled, as the pre-flight report
// writes its fields; a field is taken as written (blanks at its ends included). Blank lines
// are skipped. A formula guard that a spreadsheet may have added (a leading ') is part of the
// value: no folder path begins with one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "docpaths/PathPasses.h"

struct TFolderMapping {
  std::string Old;  // as typed
  std::string New;  // as typed
  bool operator==(const TFolderMapping&) const = default;
};
using TFolderMappingRows = std::vector<TFolderMapping>;

// The same old folder given twice (rows First and Second), or Second's new folder under (or
// equal to) First's old folder. Rows count from 0.
struct TMappingConflict {
  enum TKind { SameOld, RewrittenAgain } Kind;
  size_t First;
  size_t Second;
};
std::optional<TMappingConflict> FindMappingConflict(const TFolderMappingRows& rows);

// True when the new folder lies strictly under the old one by the document pass's rule
// (C:\Docs to c:\docs\Archive), so a second replace would rewrite its own rewrites again.
bool NewFolderUnderOld(const std::string& oldPath, const std::string& newPath);
// The first pair of rows (the old folder's, the new folder's) with the new folder strictly under
// the old one: a second run would rewrite what this one wrote (the re-run hazard).
std::optional<std::pair<size_t, size_t>> FindNewUnderOld(const TFolderMappingRows& rows);

// The combined rule of one pass over several rows: for a value, the row whose old folder is the
// longest to match it. The old prefixes are upper-cased once; rows are tried longest first.
class TMappingRule {
 public:
  TMappingRule(TPathRuleKind kind, const TFolderMappingRows& rows);
  // The index of the row that matches value (its rewrite in rewritten), or -1.
  int Rewrite(const std::string& value, std::string& rewritten);
  // For the card pass's failure entry: the last value without its trailing backslash, and what
  // followed the old prefix when it matched (else that value).
  const std::string& Folder() const { return folder_; }
  const std::string& Work() const { return work_; }
  // How many characters of a rewrite by row are the new folder.
  size_t NewFolderChars(size_t row) const;

 private:
  struct TEntry {
    std::string OldPrefix;  // normalised as the pass's rule does, upper-cased
    std::string NewPrefix;
    size_t Row;
  };
  // The old prefixes of one length: a value is looked up only at lengths where its folder
  // boundary lies, so a rule of many rows costs a few look-ups per value, not one per row.
  struct TGroup {
    size_t Length;
    size_t First;                                      // its first entry
    std::unordered_map<std::string, size_t> ByPrefix;  // prefix -> entry
  };
  // The entry of the longest old prefix matching value[0, end).
  const TEntry* Find(const std::string& value, size_t end);

  TPathRuleKind kind_;
  std::vector<TEntry> entries_;  // longest old prefix first; equal ones in row order
  std::vector<TGroup> groups_;   // longest first
  std::string key_;              // a value's prefix upper-cased, reused
  std::string folder_;
  std::string work_;
};

// rule as the walk takes it (rule must outlive it); row receives the index of the row that
// matched last (untouched when none did).
TValueRule MappingValueRule(TMappingRule& rule, int& row);

// The run's rows as one text (old TAB new, one row a line), as the undo journal keeps them: a
// path passes PathTextCheck and so holds neither; and back. A line without a TAB reads as a row
// with an empty new folder, which the replace refuses.
std::string FormatMappingRows(const TFolderMappingRows& rows);
TFolderMappingRows ParseMappingRows(const std::string& text);

// A mapping file read, or the first fault and the line (from 1) where it is.
struct TMappingFile {
  enum TFault { None, NotUtf8, NoHeader, BadQuotes, FieldCount, EmptyValue, NoRows };
  TFault Fault = None;
  size_t Line = 0;
  TFolderMappingRows Rows;
};
TMappingFile ParseMappingFile(const std::string& text);
