#include "docs/PathUndo.h"

#include "db/DatGenDBConnectionDM.h"
#include "docs/TableRewriteWalk.h"

namespace {

void Sample(TUndoTally& tally, const std::string& text) {
  if (tally.Samples.size() < TUndoTally::kMaxSamples) tally.Samples.push_back(text);
}

}  // namespace

void UndoTableField(const std::string& tableName, const std::string& fieldName, TJournalRows& rows,
                    const TPassOptions& options, TPassResult& result, TUndoTally& tally) {
  TAdsTable table(nullptr, "");
  TDBConnectionDM* module = DBConnectionDM();
  table.DatabaseName = module ? module->DBConnection.Name() : "DBConnection";
  table.TableName = tableName;
  TAdsField* recId = nullptr;
  RewriteTableField(
      table, fieldName,
      [&](const std::string& value, std::string& rewritten) {
        if (!recId) recId = &table.FieldByName("RECID");
        auto it = rows.find(recId->AsString());
        if (it == rows.end()) return false;
        const bool first = !it->second.Seen;
        it->second.Seen = true;
        if (value == it->second.NewValue) {
          rewritten = it->second.OldValue;
          return true;
        }
        if (first) {
          ++tally.ChangedSince;
          Sample(tally, tableName + " RECID " + it->first + ": " + value);
        }
        return false;
      },
      options, result);
  for (const auto& [id, row] : rows) {
    if (row.Seen) continue;
    ++tally.DeletedSince;
    Sample(tally, tableName + " RECID " + id + ": deleted");
  }
}
