// The undo journal of the replaces, kept in the CRM database itself in two tables of our own,
// created on first use with SQL every engine accepts (TEXT columns, no engine-only functions):
//
//   VrlPathRuns    (RunId, Kind, Started, OldFolder, NewFolder, Target, State, UndoneBy, Counts,
//                   Mappings)
//   VrlPathJournal (RunId, TableName, RecId, FieldName, OldValue, NewValue)
//
// The journal rows are written by the engine beside each post (TAcePostJournal in
// platform/AceDriver.h), into the table and columns PostJournal names.
//
// A run is one replace ("replace") or one undo ("undo", Target: the run it undoes). Run ids are
// "R" and a number counting up (R1, R2, ...), short enough to type. A run is written "running"
// before its first post and "complete" or "incomplete" when it ends; a run killed or crashed
// stays "running", so every run not written "complete" counts as incomplete. The counts of a
// run are its journal rows: what the database holds, also after a kill.
//
// When a run ends (complete or not) its run row also records how many records it wrote per
// table ("Docs=1840;Cards=150" in Counts): a journal that has since lost rows is told by them,
// and no undo or resume is run on what is left of it. Journals written before Counts existed
// get the column on their next run; their runs have no counts and are taken as they are.
//
// A replace of several folders at once (docpaths/FolderMappings.h) keeps its rows in Mappings
// (FormatMappingRows), so that a resume redoes them; its OldFolder says how many folders
// ("3 folders") and its NewFolder is the one new folder, or the first. A one-folder run leaves
// Mappings empty. Journals older than Mappings get the column on their next run, as for Counts.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "docpaths/FolderMappings.h"
#include "docpaths/PathPasses.h"
#include "platform/AceDriver.h"

class TAceConnection;

struct TPathRun {
  std::string RunId;
  std::string Kind;  // "replace" or "undo"
  std::string Started;
  std::string OldFolder;
  std::string NewFolder;
  std::string Target;    // undo: the run it undoes
  std::string State;     // "running", "complete", "incomplete"
  std::string UndoneBy;  // the undo run that took this one back; empty while it stands
  int64_t Docs = 0;      // journal rows of Docs
  int64_t Cards = 0;     // journal rows of Cards
  int64_t Prefs = 0;     // journal rows of Pref (the folder preferences)
  // What the run recorded at its end: records written per table; empty when it never ended
  // (killed) or ended before runs recorded counts.
  std::map<std::string, int64_t> Written;
  TFolderMappingRows Mappings;  // several folders: the rows; empty for one
  bool Incomplete() const { return State != "complete"; }
};

// Per-table counts as the run row keeps them: "Docs=1840;Cards=150". Parsing skips any part
// that is not "name=number".
std::string FormatRunCounts(const std::map<std::string, int64_t>& counts);
std::map<std::string, int64_t> ParseRunCounts(const std::string& text);

// What an undo last found in a journalled record.
enum class TUndoFound : uint8_t {
  Nothing,     // not (yet) met in the table
  RunsValue,   // the value the run wrote: to be put back
  OtherValue,  // another value: changed since the run, left alone
};

// One journalled record of a run: the values before and after, and the undo's mark.
struct TJournalValue {
  std::string OldValue;
  std::string NewValue;
  TUndoFound Found = TUndoFound::Nothing;
};
using TJournalRows = std::unordered_map<std::string, TJournalValue>;  // by RECID

// The journal rows of one table as read: by RECID, and how many rows there were (a RECID
// journalled twice is one entry of Rows but two rows).
struct TJournalTableRows {
  TJournalRows Rows;
  int64_t Read = 0;
};

// The journal on the main connection (DBConnectionDM). Every failure raises EADSDatabaseError.
class TPathJournal {
 public:
  static constexpr const char* kRunsTable = "VrlPathRuns";

  // Whether the runs table exists (nothing was ever journalled when not).
  bool Exists();
  // Creates both tables when missing.
  void Create();
  // Writes a new run "running" and answers its id.
  std::string BeginRun(const std::string& kind, const std::string& oldFolder,
                       const std::string& newFolder, const std::string& target = {},
                       const TFolderMappingRows& mappings = {});
  void SetState(const std::string& runId, const std::string& state);
  // Writes the run's state and the records it wrote per table.
  void EndRun(const std::string& runId, const std::string& state,
              const std::map<std::string, int64_t>& written);
  void SetUndoneBy(const std::string& runId, const std::string& undoneBy);
  // Oldest first; with their journal rows counted (Docs, Cards: a read of the whole journal)
  // unless withRows is false.
  std::vector<TPathRun> Runs(bool withRows = true);
  // The run of that id (journal rows not counted).
  std::optional<TPathRun> FindRun(const std::string& runId);
  // How many journal rows the run has, per table (a count, no rows read).
  std::map<std::string, int64_t> RowCounts(const std::string& runId);
  // The journal rows of a run for one pass's table and field.
  TJournalTableRows Rows(const std::string& runId, const TPathPass& pass);
  // Hands each journal row's old value of a run for one pass's table and field to each.
  void OldValues(const std::string& runId, const TPathPass& pass,
                 const std::function<void(const std::string&)>& each);
  // What a table cursor is given to journal its posts of the pass under runId.
  static TAcePostJournal PostJournal(const std::string& runId, const TPathPass& pass);

 private:
  // Whether the runs table has a column a later version added (journals of older versions
  // lack it); asked once.
  bool HasColumn(const std::string& column);
  std::map<std::string, bool> hasColumn_;
};

// What the journal writes between this object's start and Commit goes in together or not at
// all: an explicit transaction on the journal's connection, rolled back when it is left
// without Commit (a failure propagating). Used where a kill or a failure between two writes
// would leave a journal that says something untrue: the tables half created, an undo complete
// beside the run it undid still standing.
class TJournalTransaction {
 public:
  TJournalTransaction();
  ~TJournalTransaction();
  TJournalTransaction(const TJournalTransaction&) = delete;
  TJournalTransaction& operator=(const TJournalTransaction&) = delete;
  void Commit();

 private:
  TAceConnection* connection_ = nullptr;
};

// The number of a run id ("R12" -> 12); 0 when it is not one of ours.
int64_t RunNumber(const std::string& runId);
