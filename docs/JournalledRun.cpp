#include "docs/JournalledRun.h"

#include <iostream>

#include "log/EventLog.h"

std::string UndoCommandLine(const std::string& runId) {
  return "VrlChangeDocsPathCli --undo " + runId;
}

TJournalledRun::TJournalledRun(const std::string& kind, const std::string& oldFolder,
                               const std::string& newFolder, const std::string& target,
                               const std::string& resumeRunId) {
  journal_.Create();
  if (resumeRunId.empty()) {
    runId_ = journal_.BeginRun(kind, oldFolder, newFolder, target);
  } else {
    runId_ = resumeRunId;
    resumed_ = true;
    journal_.SetState(runId_, "running");
    for (const auto& [table, field] :
         {std::pair{kDocsTable, kDocsField}, {kCardsTable, kCardsField}})
      for (const auto& row : journal_.Rows(runId_, table, field)) done_[table].insert(row.first);
  }
  LogEvent("Undo Journal", "Run " + runId_ + "\r\n" + UndoCommandLine(runId_));
}

TJournalledRun::~TJournalledRun() {
  if (ended_) return;
  try {
    journal_.SetState(runId_, "incomplete");
  } catch (const std::exception& e) {
    // It stays "running", which is listed as incomplete all the same.
    std::clog << "The undo journal could not mark run " << runId_ << " incomplete: " << e.what()
              << std::endl;
  }
}

TPassOptions TJournalledRun::Pass(TPassOptions options, const std::string& tableName) {
  options.Journal = &(posts_[tableName] = TAcePostJournal{runId_, tableName});
  if (resumed_) options.SkipRecIds = &done_[tableName];
  return options;
}

void TJournalledRun::End(bool completed) {
  journal_.SetState(runId_, completed ? "complete" : "incomplete");
  ended_ = true;
}
