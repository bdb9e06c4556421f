#include "app/console/ConsoleJsonResult.h"

#include <nlohmann/json.hpp>

#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleRewriteRun.h"
#include "common/Format.h"
#include "common/StrTable.h"

namespace {

using TJson = nlohmann::ordered_json;

const char* OutcomeName(TCommandOutcome outcome) {
  switch (outcome) {
    case TCommandOutcome::BlankNewPath:
      return "blank-new-path";
    case TCommandOutcome::RefusedPath:
      return "refused-path";
    case TCommandOutcome::NewUnderOld:
      return "new-under-old";
    case TCommandOutcome::RefusedMapping:
      return "refused-mapping";
    case TCommandOutcome::Refused:
      return "refused";
    case TCommandOutcome::NoJournal:
      return "no-journal";
    case TCommandOutcome::Busy:
      return "busy";
    case TCommandOutcome::NotConfirmed:
      return "not-confirmed";
    case TCommandOutcome::Completed:
      return "completed";
    case TCommandOutcome::NotCompleted:
      return "not-completed";
    case TCommandOutcome::Interrupted:
      break;
  }
  return "interrupted";
}

TJson PassJson(const TPassResult& pass) {
  return {{"examined", pass.Examined},
          {"rewritten", pass.Rewritten},
          {"changed_by_others", pass.ChangedByOthers}};
}

// The rows of several folders with what each rewrote; the counts null when the rule counted
// records that were not committed, as the text run then refers to the journal.
TJson FoldersJson(const TCommandResult& result) {
  const int64_t lost = UncommittedByFolder(result);
  const auto count = [lost](const TPassResult& pass, size_t row) {
    if (lost != 0) return TJson();
    return TJson(row < pass.ByRow.size() ? pass.ByRow[row] : int64_t{0});
  };
  TJson folders = TJson::array();
  for (size_t row = 0; row < result.Mappings.size(); ++row)
    folders.push_back({{"old", result.Mappings[row].Old},
                       {"new", result.Mappings[row].New},
                       {"docs", count(result.Docs, row)},
                       {"cards", count(result.Cards, row)}});
  return folders;
}

}  // namespace

void AddRewriteResult(TConsoleJson& json, const TCommandResult& result, bool dryRun,
                      bool prefsNotice) {
  TJson& object = json.Object();
  json.Outcome(OutcomeName(result.Outcome));
  object["run_id"] = result.RunId.empty() ? TJson() : TJson(result.RunId);
  object["dry_run"] = dryRun;
  if (!object.contains("warnings")) object["warnings"] = TJson::array();
  const bool passesRan = result.Outcome == TCommandOutcome::Completed ||
                         result.Outcome == TCommandOutcome::NotCompleted ||
                         result.Outcome == TCommandOutcome::Interrupted;
  if (!passesRan) return;
  TJson& tables = object["tables"];
  tables["Docs"] = PassJson(result.Docs);
  tables["Cards"] = PassJson(result.Cards);
  if (result.PrefsWalked) tables["Pref"] = PassJson(result.Prefs);
  if (!result.Mappings.empty()) object["folders"] = FoldersJson(result);
  if (result.Undo)
    object["left_alone"] = {{"changed_since", result.Tally.ChangedSince},
                            {"deleted_since", result.Tally.DeletedSince},
                            {"samples", result.Tally.Samples}};
  object["preferences_left"] = result.PrefsLeft;
  if (result.PrefsLeft > 0 && prefsNotice)
    json.Warning(Format(LoadStr(sPrefsLeftNotice), {result.PrefsLeft}));
}
