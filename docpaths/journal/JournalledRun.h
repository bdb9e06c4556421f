// One journalled run while it goes: begun (or taken up again to resume it) before the first
// post, its id logged in an entry of its own, its passes journalled under its id, and written
// complete or incomplete at its end with the records it wrote per table (those a resumed run
// wrote before included). A run left without End (a failure propagating) is written
// incomplete; a killed process leaves it "running", which counts as incomplete too.
#pragma once

#include <map>
#include <string>
#include <unordered_set>

#include "docpaths/DatDocsDBServices.h"
#include "docpaths/PathPasses.h"
#include "docpaths/journal/PathJournal.h"

// The command line that undoes a run, the one that finishes an incomplete run, and the one that
// shows a run's details.
std::string UndoCommandLine(const std::string& runId);
std::string ResumeCommandLine(const std::string& runId);
std::string ShowRunCommandLine(const std::string& runId);

// What a run already wrote, read from its journal: the records per table (by RECID) and the
// journal rows per table.
struct TRunSoFar {
  std::string RunId;
  std::map<std::string, std::unordered_set<std::string>> Done;
  std::map<std::string, int64_t> Rows;
  int64_t TotalRows() const;
};
TRunSoFar ReadRunSoFar(TPathJournal& journal, const std::string& runId);

// How many journal rows of run are missing: what its run row says it wrote, less what the
// journal holds (rows: per table); 0 when nothing is missing or the run recorded no counts.
int64_t MissingJournalRows(const TPathRun& run, const std::map<std::string, int64_t>& rows);

class TJournalledRun {
 public:
  // Creates the journal when missing and begins a new run of kind (of several folders: with
  // their rows); with resume, takes that run up again instead: the records it journalled are
  // left alone by its passes.
  TJournalledRun(const std::string& kind, const std::string& oldFolder,
                 const std::string& newFolder, const std::string& target = {},
                 TRunSoFar* resume = nullptr, const TFolderMappingRows& mappings = {});
  ~TJournalledRun();
  TJournalledRun(const TJournalledRun&) = delete;
  TJournalledRun& operator=(const TJournalledRun&) = delete;

  const std::string& RunId() const { return runId_; }
  // The pass's options journalled under this run (and skipping what a resumed run rewrote).
  TPassOptions Pass(TPassOptions options, const TPathPass& pass);
  // Ends the run; written: the records this run's passes wrote per table, this time.
  void End(bool completed, const std::map<std::string, int64_t>& written);

 private:
  TPathJournal journal_;
  std::string runId_;
  bool ended_ = false;
  std::map<std::string, TAcePostJournal> posts_;
  TRunSoFar soFar_;
  bool resumed_ = false;
};
