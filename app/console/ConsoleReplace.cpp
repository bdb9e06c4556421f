#include "app/console/ConsoleReplace.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleJsonReport.h"
#include "app/console/ConsoleMappingFile.h"
#include "app/console/ConsoleRewriteRun.h"
#include "app/console/PreflightReportText.h"
#include "app/report/ReportCsv.h"
#include "common/Format.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "common/SysUtils.h"
#include "host/SysFolders.h"
#include "settings/DatPrefDM_Unit.h"

namespace {

// Prints the dry run's pre-flight report, and writes it as CSV when asked.
int ReportDryRun(TConsoleSession& session, const TPreflightReport& report) {
  const TConsoleArgs& args = session.Args;
  PrintPreflightReport(session.Out, report, args.OldPath, args.NewPath);
  if (session.Json) session.Json->Object()["preflight"] = PreflightJson(report);
  if (args.ReportFile.empty()) return ecCompleted;
  try {
    WritePreflightReportCsv(args.ReportFile, report, args.OldPath, args.NewPath, DatabaseFolder());
  } catch (const std::exception& e) {
    TellConsoleError(session, e.what());
    return ecFailed;
  }
  session.Out << Format(LoadStr(sReportWritten), {args.ReportFile}) << std::endl;
  if (session.Json) session.Json->Object()["report_file"] = args.ReportFile;
  return ecCompleted;
}

// Runs replace with the console's options; a completed dry run goes on to its report.
template <typename TReplace>
int RunReplace(TConsoleSession& session, const TReplace& replace) {
  TConsoleRewriteRun run(session);
  TPreflightReport report;
  run.Options().Report = &report;
  const int code = run.Finish(replace(run.Options()));
  if (code != ecCompleted || !session.Args.DryRun) return code;
  return ReportDryRun(session, report);
}

// The folders of a replace of several: every --old to the one --new, or the mapping file's
// rows. One row (or none: a single --old or none) is the replace of one folder. False with the
// refusal told when the mapping file cannot be used.
bool SeveralFolders(TConsoleSession& session, TFolderMappingRows& rows) {
  const TConsoleArgs& args = session.Args;
  if (args.MappingFile.empty()) {
    if (args.OldPaths.size() > 1)
      for (const std::string& old : args.OldPaths) rows.push_back({old, args.NewPath});
    return true;
  }
  std::string refusal;
  if (!ReadMappingFile(args.MappingFile, rows, refusal)) {
    TellConsoleError(session, refusal);
    return false;
  }
  return true;
}

// How many new folders the rows name (letter case and one trailing backslash aside).
size_t NewFolders(const TFolderMappingRows& rows) {
  std::set<std::string> folders;
  for (const TFolderMapping& row : rows)
    folders.insert(UpperCase(RemoveTrailingBackslash(row.New)));
  return folders.size();
}

int ReplaceSeveral(TConsoleSession& session, const TFolderMappingRows& rows) {
  // One old root and one new root fit aliases of one share, not folders moved apart.
  if (session.Args.Files.Enabled && NewFolders(rows) > 1) {
    TellConsoleError(session, Format(LoadStr(sCheckFilesOneNewFolder), {NewFolders(rows)}));
    return ecUsage;
  }
  return RunReplace(session, [&](const TReplaceOptions& options) {
    return ReplaceDocsPaths(session.Program, rows, options);
  });
}

}  // namespace

int RunConsoleReplace(TConsoleSession& session) {
  TConsoleArgs& args = session.Args;
  TFolderMappingRows rows;
  if (!SeveralFolders(session, rows)) return ecUsage;
  if (!args.ReportFile.empty()) {
    try {
      CheckPreflightReportFile(args.ReportFile, DatabaseFolder());
    } catch (const std::exception& e) {
      TellConsoleError(session, e.what());
      return ecFailed;
    }
  }
  if (rows.size() > 1) return ReplaceSeveral(session, rows);
  if (rows.size() == 1) {  // a mapping file of one row
    args.OldPath = rows[0].Old;
    args.NewPath = rows[0].New;
    args.OldPathGiven = true;
  }
  if (!args.OldPathGiven) {
    TDocPref doc;
    GetDocPref(doc);
    args.OldPath = doc.MainFolder;
    session.Out << "Old path (documents folder of the preferences): " << args.OldPath << std::endl;
  }
  if (session.Json) {
    session.Json->Object()["old_folder"] = args.OldPath;
    session.Json->Object()["new_folder"] = args.NewPath;
  }
  return RunReplace(session, [&](const TReplaceOptions& options) {
    return ReplaceDocsPath(session.Program, args.OldPath, args.NewPath, options);
  });
}
