#include "app/console/ConsoleReplace.h"

#include <ostream>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleRewriteRun.h"
#include "app/console/PreflightReportText.h"
#include "app/report/ReportCsv.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "host/SysFolders.h"
#include "settings/DatPrefDM_Unit.h"

namespace {

// Prints the dry run's pre-flight report, and writes it as CSV when asked.
int ReportDryRun(TConsoleSession& session, const TPreflightReport& report) {
  const TConsoleArgs& args = session.Args;
  PrintPreflightReport(session.Out, report, args.OldPath, args.NewPath);
  if (args.ReportFile.empty()) return ecCompleted;
  try {
    WritePreflightReportCsv(args.ReportFile, report, args.OldPath, args.NewPath, DatabaseFolder());
  } catch (const std::exception& e) {
    session.Err << e.what() << std::endl;
    return ecFailed;
  }
  session.Out << Format(LoadStr(sReportWritten), {args.ReportFile}) << std::endl;
  return ecCompleted;
}

}  // namespace

int RunConsoleReplace(TConsoleSession& session) {
  TConsoleArgs& args = session.Args;
  if (!args.ReportFile.empty()) {
    try {
      CheckPreflightReportFile(args.ReportFile, DatabaseFolder());
    } catch (const std::exception& e) {
      session.Err << e.what() << std::endl;
      return ecFailed;
    }
  }
  if (!args.OldPathGiven) {
    TDocPref doc;
    GetDocPref(doc);
    args.OldPath = doc.MainFolder;
    session.Out << "Old path (documents folder of the preferences): " << args.OldPath << std::endl;
  }
  TConsoleRewriteRun run(session);
  TPreflightReport report;
  run.Options().Report = &report;
  const TCommandResult result =
      ReplaceDocsPath(session.Program, args.OldPath, args.NewPath, run.Options());
  const int code = run.Finish(result);
  if (code != ecCompleted || !args.DryRun) return code;
  return ReportDryRun(session, report);
}
