#include "app/console/ConsoleSurvey.h"

#include <algorithm>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleJsonReport.h"
#include "app/console/ConsolePassWatcher.h"
#include "app/report/ReportCsv.h"
#include "app/report/StoredFolderSurveyCsv.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/StoredFolderSurvey.h"
#include "host/SysFolders.h"

namespace {

// The progress lines of the two large tables; a line a failure left open is ended.
struct TSurveyProgress {
  TSurveyProgress(std::ostream& err, bool show)
      : Docs(err, "Documents", show), Cards(err, "Cards", show), Show(show) {}
  ~TSurveyProgress() {
    Docs.Finish();
    Cards.Finish();
  }
  TConsolePassWatcher Docs;
  TConsolePassWatcher Cards;
  bool Show;
};

void PrintTable(std::ostream& out, TStrId title, const TTableSurvey& table) {
  const TFolderTally& tally = table.Folders;
  out << Format(LoadStr(title), {tally.Total()}) << '\n';
  const std::vector<TFolderCount> folders = tally.Folders();
  int64_t widest = 0;
  for (const TFolderCount& folder : folders) widest = std::max(widest, folder.Count);
  for (TStoredKind kind : kNoFolderKinds) widest = std::max(widest, tally.Count(kind));
  const int width = static_cast<int>(std::to_string(widest).size()) + 2;
  for (const TFolderCount& folder : folders)
    out << std::setw(width) << folder.Count << "  " << folder.Folder << '\n';
  for (TStoredKind kind : kNoFolderKinds)
    if (tally.Count(kind) > 0)
      out << std::setw(width) << tally.Count(kind) << "  (" << StoredKindName(kind) << ")\n";
}

}  // namespace

int RunConsoleSurvey(TConsoleSession& session) {
  const TConsoleArgs& args = session.Args;
  try {
    if (!args.ReportFile.empty()) CheckPreflightReportFile(args.ReportFile, DatabaseFolder());
  } catch (const std::exception& e) {
    TellConsoleError(session, e.what());
    return ecFailed;
  }
  TStoredFolderSurvey survey(args.Depth);
  {
    // Watching costs a count of each table: only when there is a terminal to show it.
    TSurveyProgress progress(session.Err, session.Terminal.StderrIsTerminal);
    survey = SurveyStoredFolders(args.Depth, progress.Show ? &progress.Docs : nullptr,
                                 progress.Show ? &progress.Cards : nullptr);
  }
  std::ostream& out = session.Out;
  out << Format(LoadStr(sSurveyHeading), {survey.Depth}) << '\n';
  PrintTable(out, sSurveyDocuments, survey.Docs);
  PrintTable(out, sSurveyCards, survey.Cards);
  PrintTable(out, sSurveyPreferences, survey.Pref);
  out.flush();
  if (session.Json) {
    session.Json->Outcome("completed");
    AddSurveyJson(session.Json->Object(), survey);
  }
  if (args.ReportFile.empty()) return ecCompleted;
  try {
    WriteStoredFolderSurveyCsv(args.ReportFile, survey, DatabaseFolder());
  } catch (const std::exception& e) {
    TellConsoleError(session, e.what());
    return ecFailed;
  }
  out << Format(LoadStr(sReportWritten), {args.ReportFile}) << std::endl;
  if (session.Json) session.Json->Object()["report_file"] = args.ReportFile;
  return ecCompleted;
}
