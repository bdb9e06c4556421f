#include "docpaths/journal/PathUndo.h"

#include <unordered_set>

#include "db/DatGenDBConnectionDM.h"
#include "docpaths/TableRewriteWalk.h"

namespace {

void Sample(TUndoTally& tally, const std::string& text) {
  if (tally.Samples.size() < TUndoTally::kMaxSamples) tally.Samples.push_back(text);
}

// The RECIDs the table holds now.
std::unordered_set<std::string> StoredRecIds(const TPathPass& pass) {
  std::unordered_set<std::string> ids;
  TAdsQuery query(nullptr, "");
  query.DatabaseName = MainConnectionName;
  query.SQL = std::string("SELECT RECID FROM ") + pass.Name;
  query.Open();
  for (TAdsField& recId = query.FieldByName("RECID"); !query.Eof(); query.Next())
    ids.insert(recId.AsString());
  query.Close();
  return ids;
}

}  // namespace

void UndoTableField(const TPathPass& pass, TJournalRows& rows, const TPassOptions& options,
                    TPassResult& result, TUndoTally& tally) {
  const std::string tableName = pass.Name;
  TAdsTable table(nullptr, "");
  BindPassTable(table, pass);
  TAdsField* recId = nullptr;
  TUndoTally found;
  // The rule runs again on a record read anew after another station's change refused our
  // post: a record found holding another value is left alone from then on, and counted once.
  RewriteTableField(
      table, pass.Field,
      [&](const std::string& value, std::string& rewritten) {
        if (!recId) recId = &table.FieldByName("RECID");
        auto it = rows.find(recId->AsString());
        if (it == rows.end()) return false;
        TJournalValue& row = it->second;
        if (value == row.NewValue) {
          row.Found = TUndoFound::RunsValue;
          rewritten = row.OldValue;
          return true;
        }
        if (row.Found != TUndoFound::OtherValue) {
          row.Found = TUndoFound::OtherValue;
          ++found.ChangedSince;
          Sample(found, tableName + " RECID " + it->first + ": " + value);
        }
        return false;
      },
      options, result);
  // Every journalled record not put back is counted. The walk does not tell which of the
  // records found holding the run's value another station deleted before our post reached
  // them; the committed posts say how many were put back, so the others were deleted
  // meanwhile, and the table read once more names them.
  int64_t holdingRunsValue = 0;
  for (const auto& [id, row] : rows) {
    if (row.Found == TUndoFound::RunsValue) ++holdingRunsValue;
    if (row.Found != TUndoFound::Nothing) continue;
    ++found.DeletedSince;
    Sample(found, tableName + " RECID " + id + ": deleted");
  }
  if (!options.DryRun && holdingRunsValue > result.Rewritten) {
    found.DeletedSince += holdingRunsValue - result.Rewritten;
    const std::unordered_set<std::string> stored = StoredRecIds(pass);
    for (const auto& [id, row] : rows)
      if (row.Found == TUndoFound::RunsValue && !stored.count(id))
        Sample(found, tableName + " RECID " + id + ": deleted");
  }
  tally.ChangedSince += found.ChangedSince;
  tally.DeletedSince += found.DeletedSince;
  for (std::string& sample : found.Samples) Sample(tally, std::move(sample));
}
