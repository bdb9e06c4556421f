// The undo journal of the replaces, kept in the CRM database itself in two tables of our own,
// created on first use with SQL every engine accepts (TEXT columns, no engine-only functions):
//
//   VrlPathRuns    (RunId, Kind, Started, OldFolder, NewFolder, Target, State, UndoneBy)
//   VrlPathJournal (RunId, TableName, RecId, FieldName, OldValue, NewValue)   -- AceDriver.h
//
// A run is one replace ("replace") or one undo ("undo", Target: the run it undoes). Run ids are
// "R" and a number counting up (R1, R2, ...), short enough to type. A run is written "running"
// before its first post and "complete" or "incomplete" when it ends; a run killed or crashed
// stays "running", so every run not written "complete" counts as incomplete. The counts of a
// run are its journal rows: what the database holds, also after a kill.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

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
  bool Incomplete() const { return State != "complete"; }
};

// One journalled record of a run: the values before and after; Seen is the undo's mark.
struct TJournalValue {
  std::string OldValue;
  std::string NewValue;
  bool Seen = false;
};
using TJournalRows = std::unordered_map<std::string, TJournalValue>;  // by RECID

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
                       const std::string& newFolder, const std::string& target = {});
  void SetState(const std::string& runId, const std::string& state);
  void SetUndoneBy(const std::string& runId, const std::string& undoneBy);
  // Oldest first, with their counts.
  std::vector<TPathRun> Runs();
  std::optional<TPathRun> FindRun(const std::string& runId);
  // The journal rows of a run for one table and field.
  TJournalRows Rows(const std::string& runId, const std::string& tableName,
                    const std::string& fieldName);
};

// The number of a run id ("R12" -> 12); 0 when it is not one of ours.
int64_t RunNumber(const std::string& runId);
