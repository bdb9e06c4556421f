// One journalled run while it goes: begun (or taken up again to resume it) before the first
// post, its id logged in an entry of its own, its passes journalled under its id, and written
// complete or incomplete at its end. A run left without End (a failure propagating) is written
// incomplete; a killed process leaves it "running", which counts as incomplete too.
#pragma once

#include <map>
#include <string>
#include <unordered_set>

#include "docs/DatDocsDBServices.h"
#include "docs/PathJournal.h"

// The table and field each pass rewrites, as the journal names them.
inline constexpr const char* kDocsTable = "Docs";
inline constexpr const char* kDocsField = "DOCUMENT_NAME";
inline constexpr const char* kCardsTable = "Cards";
inline constexpr const char* kCardsField = "DOCSFOLDER";

// The command line that undoes a run.
std::string UndoCommandLine(const std::string& runId);

class TJournalledRun {
 public:
  // Creates the journal when missing and begins a new run of kind; with resumeRunId, takes that
  // run up again instead: the records it journalled are left alone by its passes.
  TJournalledRun(const std::string& kind, const std::string& oldFolder,
                 const std::string& newFolder, const std::string& target = {},
                 const std::string& resumeRunId = {});
  ~TJournalledRun();
  TJournalledRun(const TJournalledRun&) = delete;
  TJournalledRun& operator=(const TJournalledRun&) = delete;

  const std::string& RunId() const { return runId_; }
  // The pass's options journalled under this run (and skipping what a resumed run rewrote).
  TPassOptions Pass(TPassOptions options, const std::string& tableName);
  void End(bool completed);

 private:
  TPathJournal journal_;
  std::string runId_;
  bool resumed_ = false;
  bool ended_ = false;
  std::map<std::string, TAcePostJournal> posts_;
  std::map<std::string, std::unordered_set<std::string>> done_;
};
