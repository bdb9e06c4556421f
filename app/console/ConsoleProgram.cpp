#include "app/console/ConsoleProgram.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <ostream>

#include "app/console/ConsoleJournal.h"
#include "app/console/ConsolePassWatcher.h"
#include "app/console/PreflightReportText.h"
#include "app/report/ReportCsv.h"
#include "app/units/ProgramStartHook.h"
#include "app/units/ProgramUnits.h"
#include "app/units/StartupSequence.h"
#include "commands/ReplaceCommand.h"
#include "common/Classes.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "db/RemoteControlNotice.h"
#include "host/SysFolders.h"
#include "log/EurekaLog.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/console/ConsoleUiServices.h"
#include "settings/DatPrefDM_Unit.h"

namespace {

// The console program's stand-in for the window: owner of the command's data module and sender
// of its log entries.
class TChangePathForDocsCli : public TComponent {
 public:
  TChangePathForDocsCli() : TComponent(nullptr, "ChangePathForDocsCli") {}
  std::string ClassName() const override { return "TChangePathForDocsCli"; }
  std::string UnitName() const override { return "ConsoleProgram"; }
};

struct TConsoleArgs {
  std::string OldPath;
  bool OldPathGiven = false;
  std::string NewPath;
  bool Yes = false;
  bool DryRun = false;
  bool Force = false;
  std::string ReportFile;
  TFileCheck Files;
  TJournalArgs Journal;
};

// A folder or file value may be neither empty nor another option: "--report=" or "--new=$NEW"
// with the variable unset is a slip of the caller, and CLI11 would take the next word ("--yes")
// for the value.
std::string RefuseEmptyOrOptionValue(std::string& value) {
  if (value.empty()) return "a value may not be empty";
  if (value.rfind("--", 0) == 0)
    return "\"" + value + "\" is an option, not a value (was the value left out?)";
  return {};
}

// Parses args; a value when the program goes on, otherwise the exit code.
int Parse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          TConsoleArgs& parsed) {
  const CLI::Validator NotEmpty(RefuseEmptyOrOptionValue, "", "NOT_EMPTY");
  CLI::App app{
      "Rewrites the stored document paths and card document folders of a CRM "
      "installation after its documents folder moved.",
      "VrlChangeDocsPathCli"};
  app.add_option("--old", parsed.OldPath,
                 "the old documents folder (prefix to replace); default: the documents folder "
                 "of the preferences")
      ->check(NotEmpty);
  auto* newPath = app.add_option("--new", parsed.NewPath,
                                 "the new documents folder (prefix to put in its place)")
                      ->check(NotEmpty);
  app.add_flag("--yes", parsed.Yes, "answer Yes to the confirmation");
  app.add_flag("--dry-run", parsed.DryRun,
               "compute every rewrite, change nothing and print the pre-flight report");
  app.add_flag("--force", parsed.Force, "replace even with the new folder under the old one");
  app.add_option("--report", parsed.ReportFile, "dry run, its report also written as CSV to FILE")
      ->check(NotEmpty);
  auto* check = app.add_flag("--check-files", parsed.Files.Enabled,
                             "dry run, looking for the old and new files (needs --old-root)");
  auto* oldRoot = app.add_option("--old-root", parsed.Files.OldRoot,
                                 "where the old folder is mounted on this machine")
                      ->check(NotEmpty);
  app.add_option("--new-root", parsed.Files.NewRoot, "where the new folder is mounted")
      ->check(NotEmpty)
      ->needs(check);
  check->needs(oldRoot);
  oldRoot->needs(check);
  AddJournalOptions(app, parsed.Journal);
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them reversed
  try {
    app.parse(reversed);
    parsed.OldPathGiven = app.count("--old") > 0;
    parsed.DryRun = parsed.DryRun || !parsed.ReportFile.empty() || parsed.Files.Enabled;
    // A replace needs --new; the journal commands take their folders from the journal.
    if (JournalCommandGiven(parsed.Journal) == (newPath->count() > 0))
      throw CLI::ValidationError(newPath->count() ? "--new: not with a journal command"
                                                  : "--new is required");
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? ecCompleted : ecUsage;
  }
  return -1;
}

void PrintPass(std::ostream& out, const char* table, const TPassResult& pass,
               const TCommandResult& result, bool dryRun, const TConsolePassWatcher& watcher) {
  const char* verb = result.Undo ? (dryRun ? " to restore" : " restored")
                                 : (dryRun ? " to rewrite" : " rewritten");
  out << table << ": " << pass.Examined << " examined, " << pass.Rewritten << verb;
  if (pass.ChangedByOthers > 0)
    out << ", " << pass.ChangedByOthers << " changed by another station";
  out << std::endl;
  if (!dryRun) return;
  for (const auto& [oldValue, newValue] : watcher.Samples())
    out << "  " << oldValue << " -> " << newValue << std::endl;
}

// The message of the exception being handled (call inside a catch block).
std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown exception";
  }
}

// Prints the dry run's pre-flight report, and writes it as CSV when asked.
int ReportDryRun(std::ostream& out, std::ostream& err, const TPreflightReport& report,
                 const TConsoleArgs& parsed) {
  PrintPreflightReport(out, report, parsed.OldPath, parsed.NewPath);
  if (parsed.ReportFile.empty()) return ecCompleted;
  try {
    WritePreflightReportCsv(parsed.ReportFile, report, parsed.OldPath, parsed.NewPath,
                            DatabaseFolder());
  } catch (const std::exception& e) {
    err << e.what() << std::endl;
    return ecFailed;
  }
  out << "Report written to " << parsed.ReportFile << std::endl;
  return ecCompleted;
}

// Drops the terminal user interface when the run ends: it refers to the run's streams.
struct TUiForTheRun {
  ~TUiForTheRun() { Platform().SetUi(nullptr); }
};

// The run once the program units have started: the start-up checks, then the replace.
int RunReplace(TChangePathForDocsCli& program, TConsoleArgs& parsed, std::ostream& out,
               std::ostream& err, TConsoleTerminal terminal) {
  std::string failure;
  if (RunStartupChecks(&program, nullptr, &failure) != TStartupOutcome::Ready) {
    // The application's handling logged it; the terminal is told plainly.
    if (!failure.empty()) err << failure << std::endl;
    return ecFailed;
  }
  const bool journalCommand = JournalCommandGiven(parsed.Journal);
  if (!parsed.ReportFile.empty() && !journalCommand) {
    // A report that could not be written is refused before the passes, not after them.
    try {
      CheckPreflightReportFile(parsed.ReportFile, DatabaseFolder());
    } catch (const std::exception& e) {
      err << e.what() << std::endl;
      return ecFailed;
    }
  }
  if (!parsed.OldPathGiven && !journalCommand) {
    // As the window's Old Path: the documents folder of the preferences of all users.
    TDocPref doc;
    GetDocPref(doc);
    parsed.OldPath = doc.MainFolder;
    out << "Old path (documents folder of the preferences): " << parsed.OldPath << std::endl;
  }

  TConsolePassWatcher docsWatcher(err, "Documents", terminal.StderrIsTerminal);
  TConsolePassWatcher cardsWatcher(err, "Cards", terminal.StderrIsTerminal);
  TPreflightReport report;
  auto finish = [&](const TCommandResult& result) -> int {
    docsWatcher.Finish();
    cardsWatcher.Finish();
    switch (result.Outcome) {
      case TCommandOutcome::BlankNewPath:
      case TCommandOutcome::RefusedPath:
      case TCommandOutcome::NewUnderOld:
      case TCommandOutcome::Refused:
      case TCommandOutcome::Busy:
      case TCommandOutcome::NotConfirmed:
        return ecRefused;
      case TCommandOutcome::NoJournal:
        return ecFailed;
      case TCommandOutcome::Interrupted:
        err << StoppedRunText(result) << std::endl;
        return StoppedExitCode(result.StopSignal);
      case TCommandOutcome::Completed:
      case TCommandOutcome::NotCompleted:
        break;
    }
    if (parsed.DryRun) out << "Dry run: nothing was changed." << std::endl;
    PrintPass(out, "Documents", result.Docs, result, parsed.DryRun, docsWatcher);
    PrintPass(out, "Cards", result.Cards, result, parsed.DryRun, cardsWatcher);
    PrintUndoTally(out, result.Tally);
    PrintRunLine(out, result.RunId);
    if (result.Outcome != TCommandOutcome::Completed) return ecFailed;
    // The pre-flight report is a new replace's; a journal command's dry run walks its passes.
    if (parsed.DryRun && !journalCommand) return ReportDryRun(out, err, report, parsed);
    return !parsed.DryRun && result.Tally.LeftAlone() > 0 ? ecRefused : ecCompleted;
  };
  try {
    // Watching costs a count of each table: only when there is something to show.
    const bool watch = parsed.DryRun || terminal.StderrIsTerminal;
    RunProgramStartHook();
    TReplaceOptions options;
    options.DryRun = parsed.DryRun;
    options.DocsObserver = watch ? &docsWatcher : nullptr;
    options.CardsObserver = watch ? &cardsWatcher : nullptr;
    if (!journalCommand) options.Report = &report;
    options.FileCheck = parsed.Files;
    options.NewUnderOldPrompt = [&] {
      if (!parsed.Force)
        Platform().Ui().ShowMessage(Format(LoadStr(64862), {parsed.NewPath, parsed.OldPath}),
                                    TMessageKind::mkWarning);
      return parsed.Force;
    };
    options.OtherStationsPrompt = [&](int count) {
      err << OtherStationsCountLine(count) << "\n" << OtherStationsAdvice() << std::endl;
      return Platform().Ui().ConfirmYesNo(LoadStr(64887));
    };
    options.Journal = !parsed.Journal.NoJournal;
    if (journalCommand) return RunJournalCommand(program, parsed.Journal, options, finish, out);
    return finish(ReplaceDocsPath(program, parsed.OldPath, parsed.NewPath, options));
  } catch (...) {
    docsWatcher.Finish();
    // The exception manager logs it and tells the user; the terminal is told plainly too.
    HandleEscapedException();
    err << CurrentExceptionText() << std::endl;
    return ecFailed;
  }
}

}  // namespace

int RunConsoleProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err, TConsoleTerminal terminal) {
  TConsoleArgs parsed;
  if (int code = Parse(args, out, err, parsed); code >= 0) return code;

  auto ui = std::make_unique<TConsoleUiServices>(
      in, out, err, TConsoleUiOptions{terminal.StdinIsTerminal, parsed.Yes});
  ui->RegisterForm(RemoteControlNoticeForm, RemoteControlNoticeText());
  Platform().SetUi(std::move(ui));
  TUiForTheRun uiForTheRun;

  TChangePathForDocsCli program;
  return RunWithProgramUnits(
      &program, [&] { return RunReplace(program, parsed, out, err, terminal); }, ecFailed,
      ecRefused, [&](const std::exception& e) { err << e.what() << std::endl; });
}
