#include "docpaths/journal/JournalledRun.h"

#include <iostream>
#include <string_view>

#include "log/EventLog.h"

std::string UndoCommandLine(const std::string& runId) {
  return "VrlChangeDocsPathCli --undo " + runId;
}

std::string ResumeCommandLine(const std::string& runId) {
  return "VrlChangeDocsPathCli --resume " + runId;
}

std::string ShowRunCommandLine(const std::string& runId) {
  return "VrlChangeDocsPathCli --show-run " + runId;
}

int64_t TRunSoFar::TotalRows() const {
  int64_t total = 0;
  for (const auto& [table, count] : Rows) total += count;
  return total;
}

TRunSoFar ReadRunSoFar(TPathJournal& journal, const std::string& runId) {
  TRunSoFar soFar;
  soFar.RunId = runId;
  for (const TPathPass& pass : kPathPasses) {
    const TJournalTableRows rows = journal.Rows(runId, pass);
    // A run that left the preferences alone records no count of them.
    if (rows.Read == 0 && std::string_view(pass.Name) == kPrefPass.Name) continue;
    auto& ids = soFar.Done[pass.Name];
    for (const auto& row : rows.Rows) ids.insert(row.first);
    soFar.Rows[pass.Name] = rows.Read;
  }
  return soFar;
}

int64_t MissingJournalRows(const TPathRun& run, const std::map<std::string, int64_t>& rows) {
  int64_t missing = 0;
  for (const auto& [table, written] : run.Written) {
    const auto held = rows.find(table);
    const int64_t have = held == rows.end() ? 0 : held->second;
    if (have < written) missing += written - have;
  }
  return missing;
}

TJournalledRun::TJournalledRun(const std::string& kind, const std::string& oldFolder,
                               const std::string& newFolder, const std::string& target,
                               TRunSoFar* resume, const TFolderMappingRows& mappings) {
  journal_.Create();
  if (!resume) {
    runId_ = journal_.BeginRun(kind, oldFolder, newFolder, target, mappings);
  } else {
    soFar_ = std::move(*resume);
    runId_ = soFar_.RunId;
    resumed_ = true;
    journal_.SetState(runId_, "running");
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

TPassOptions TJournalledRun::Pass(TPassOptions options, const TPathPass& pass) {
  options.Journal = &(posts_[pass.Name] = TPathJournal::PostJournal(runId_, pass));
  if (resumed_) options.SkipRecIds = &soFar_.Done[pass.Name];
  return options;
}

void TJournalledRun::End(bool completed, const std::map<std::string, int64_t>& written) {
  std::map<std::string, int64_t> counts = soFar_.Rows;
  for (const auto& [table, count] : written) counts[table] += count;
  journal_.EndRun(runId_, completed ? "complete" : "incomplete", counts);
  ended_ = true;
}
