#include "docpaths/journal/RunFolders.h"

#include "common/Format.h"
#include "common/StrTable.h"

TRunFolders CountRunFolders(TPathJournal& journal, const TPathRun& run) {
  TRunFolders folders;
  if (run.Mappings.empty()) {
    folders.Rows = {{run.OldFolder, run.NewFolder}};
    const std::map<std::string, int64_t> rows = journal.RowCounts(run.RunId);
    const auto count = [&rows](const TPathPass& pass) {
      const auto it = rows.find(pass.Name);
      return it == rows.end() ? int64_t{0} : it->second;
    };
    folders.Counts = {{count(kDocsPass), count(kCardsPass)}};
    return folders;
  }
  folders.Rows = run.Mappings;
  folders.Counts.resize(run.Mappings.size());
  for (const TPathPass& pass : {kDocsPass, kCardsPass}) {  // the preferences are not per row
    TMappingRule rule(pass.Rule, run.Mappings);
    int64_t TFolderCounts::*table =
        pass.Rule == kDocsPass.Rule ? &TFolderCounts::Docs : &TFolderCounts::Cards;
    std::string rewritten;
    journal.OldValues(run.RunId, pass, [&](const std::string& oldValue) {
      const int row = rule.Rewrite(oldValue, rewritten);
      TFolderCounts& counts =
          row < 0 ? folders.Unmatched : folders.Counts[static_cast<size_t>(row)];
      ++(counts.*table);
    });
  }
  return folders;
}

std::pair<std::string, std::string> RunFolderSummary(const TFolderMappingRows& rows) {
  return {Format(LoadStr(sFolderCount), {static_cast<int64_t>(rows.size())}),
          rows.empty() ? std::string() : rows.front().New};
}
