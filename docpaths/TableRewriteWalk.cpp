#include "docpaths/TableRewriteWalk.h"

#include "docpaths/PassProgress.h"
#include "platform/StopRequest.h"

namespace {

// How often one record is read again when other stations keep changing it under us.
constexpr int kAttemptsPerRecord = 8;

// Posts the rewrite of the current record, reading it again while another station's change
// stands in the way. False when the record is left to the other station.
bool PostRewrite(TAdsTable& table, TAdsField& field, const TValueRule& rule,
                 std::string& rewritten) {
  for (int attempt = 1;; ++attempt) {
    try {
      table.Edit();
      field.SetAsString(rewritten);
      table.Post();
      return true;
    } catch (const EADSDatabaseError& e) {
      table.Cancel();
      if (e.ACEErrorCode == AdsErrRecordGone) return false;
      if (e.ACEErrorCode != AdsErrRecordChanged || attempt == kAttemptsPerRecord) throw;
    }
    if (!table.Refresh()) return false;  // deleted meanwhile
    const std::string& current = field.AsString();
    if (!rule(current, rewritten) || rewritten == current) return false;
  }
}

// An engine that sends posts in groups learns of a refused post only when its group goes: each
// such record is read again and gets the rule once more, as a post refused at once would.
void RevisitRefused(TAdsTable& table, TAdsField& field, const TValueRule& rule,
                    const TPassOptions& options, std::string& rewritten, TPassResult& result) {
  for (TAceRevisit found; (found = table.NextRefused()) != TAceRevisit::Done;) {
    const bool again = found == TAceRevisit::Changed && rule(field.AsString(), rewritten) &&
                       rewritten != field.AsString() && PostRewrite(table, field, rule, rewritten);
    if (!again)
      ++result.ChangedByOthers;
    else if (options.Rewrote)
      options.Rewrote();
  }
}

}  // namespace

void RewriteTableField(TAdsTable& table, const std::string& fieldName, const TValueRule& rule,
                       const TPassOptions& options, TPassResult& result) {
  // A dry run opens the table read-only: nothing can be written, not even by mistake.
  if (table.Active() && table.ReadOnly != options.DryRun) table.Close();
  table.ReadOnly = options.DryRun;
  table.Open();
  if (options.Journal && !options.DryRun) table.JournalPosts(*options.Journal);
  table.First();
  TAdsField& field = table.FieldByName(fieldName);
  TAdsField* recId = options.SkipRecIds ? &table.FieldByName("RECID") : nullptr;
  TPassProgress progress(options.Observer, table);
  std::string rewritten;
  // A copy: a rule reading another field (RECID) may make the engine read the batch anew.
  std::string value;
  try {
    while (!table.Eof()) {
      if (const int signal = StopRequested(); signal != 0 && !options.DryRun)
        throw EStopRequested(signal);
      ++result.Examined;
      value.assign(field.AsString());
      if (recId && options.SkipRecIds->count(recId->AsString())) {
        // already rewritten by the run being resumed
      } else if (rule(value, rewritten) && rewritten != value) {
        if (options.Observer) options.Observer->Rewritten(value, rewritten);
        if (options.DryRun) {
          ++result.Rewritten;
          if (options.Rewrote) options.Rewrote();
        } else if (!PostRewrite(table, field, rule, rewritten)) {
          ++result.ChangedByOthers;
        } else if (options.Rewrote) {
          options.Rewrote();
        }
      }
      progress.Step(result.Examined);
      table.Next();
    }
    RevisitRefused(table, field, rule, options, rewritten, result);
    progress.Finish(result.Examined);
    table.Close();  // commits the last posts, or raises
  } catch (...) {
    // What was posted before the failure is kept: closing commits it.
    try {
      table.Close();
    } catch (...) {
      // the first failure is the one to report
    }
    if (!options.DryRun) result.Rewritten = table.CommittedPosts();
    throw;
  }
  if (!options.DryRun) result.Rewritten = table.CommittedPosts();
  result.Completed = true;
}
