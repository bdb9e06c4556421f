#include "app/ConsoleProgram.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <ostream>

#include "app/ConsolePassWatcher.h"
#include "app/ReplaceCommand.h"
#include "app/StartupSequence.h"
#include "common/Classes.h"
#include "common/StrTable.h"
#include "log/EventLog.h"
#include "platform/Platform.h"
#include "platform/console/ConsoleUiServices.h"

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
  std::string NewPath;
  bool Yes = false;
  bool DryRun = false;
};

// Parses args; a value when the program goes on, otherwise the exit code.
int Parse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          TConsoleArgs& parsed) {
  CLI::App app{
      "Rewrites the stored document paths and card document folders of a CRM "
      "installation after its documents folder moved.",
      "VrlChangeDocsPathCli"};
  // Without preferences there is no documents folder to default to, so --old is required.
  app.add_option("--old", parsed.OldPath, "the old documents folder (prefix to replace)")
      ->required();
  app.add_option("--new", parsed.NewPath, "the new documents folder (prefix to put in its place)")
      ->required();
  app.add_flag("--yes", parsed.Yes, "answer Yes to the confirmation");
  app.add_flag("--dry-run", parsed.DryRun, "compute every rewrite and change nothing");
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them reversed
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? ecCompleted : ecUsage;
  }
  return -1;
}

// Texts of plain message boxes that report a failure; on a terminal they go to standard error.
void MarkFailureTexts(TConsoleUiServices& ui) {
  for (int id : {65023, 64996, 65187, 65189, 65190, 65191, 65192, 65193, 65194, 65195})
    ui.AddFailureText(LoadStr(id));
}

void PrintPass(std::ostream& out, const char* table, const TPassResult& pass, bool dryRun,
               const TConsolePassWatcher& watcher) {
  out << table << ": " << pass.Examined << " examined, " << pass.Rewritten
      << (dryRun ? " to rewrite" : " rewritten") << std::endl;
  if (!dryRun) return;
  for (const auto& [oldValue, newValue] : watcher.Samples())
    out << "  " << oldValue << " -> " << newValue << std::endl;
}

// Drops the terminal user interface when the run ends: it refers to the run's streams.
struct TUiForTheRun {
  ~TUiForTheRun() { Platform().SetUi(nullptr); }
};

}  // namespace

int RunConsoleProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err, TConsoleTerminal terminal) {
  TConsoleArgs parsed;
  if (int code = Parse(args, out, err, parsed); code >= 0) return code;

  auto ui = std::make_unique<TConsoleUiServices>(
      in, out, err, TConsoleUiOptions{terminal.StdinIsTerminal, parsed.Yes});
  TConsoleUiServices& console = *ui;
  MarkFailureTexts(console);
  Platform().SetUi(std::move(ui));
  TUiForTheRun uiForTheRun;

  TProgramUnits units;
  TChangePathForDocsCli program;
  // Start-up has only failures to tell: they go to standard error.
  console.SetFailuresOnly(true);
  if (RunStartupChecks(&program) != TStartupOutcome::Ready) return ecFailed;
  console.SetFailuresOnly(false);

  TConsolePassWatcher docsWatcher(err, "Documents", terminal.StderrIsTerminal);
  TConsolePassWatcher cardsWatcher(err, "Cards", terminal.StderrIsTerminal);
  TReplaceResult result;
  try {
    // Watching costs a count of each table: only when there is something to show.
    const bool watch = parsed.DryRun || terminal.StderrIsTerminal;
    TReplaceOptions options;
    options.DryRun = parsed.DryRun;
    options.DocsObserver = watch ? &docsWatcher : nullptr;
    options.CardsObserver = watch ? &cardsWatcher : nullptr;
    options.OtherStationsPrompt = [&](int count) {
      err << OtherStationsCountLine(count) << "\n" << OtherStationsAdvice() << std::endl;
      return console.ConfirmYesNo(LoadStr(64887));
    };
    result = ReplaceDocsPath(program, parsed.OldPath, parsed.NewPath, options);
  } catch (const std::exception& e) {
    docsWatcher.Finish();
    // The application's exception handling logs it; the terminal is told plainly.
    HandleApplicationException(&program, e);
    err << e.what() << std::endl;
    return ecFailed;
  }
  docsWatcher.Finish();
  cardsWatcher.Finish();

  switch (result.Outcome) {
    case TReplaceOutcome::BlankNewPath:
    case TReplaceOutcome::NotConfirmed:
      return ecRefused;
    case TReplaceOutcome::Completed:
    case TReplaceOutcome::NotCompleted:
      break;
  }
  if (parsed.DryRun) out << "Dry run: nothing was changed." << std::endl;
  PrintPass(out, "Documents", result.Docs, parsed.DryRun, docsWatcher);
  PrintPass(out, "Cards", result.Cards, parsed.DryRun, cardsWatcher);
  return result.Outcome == TReplaceOutcome::Completed ? ecCompleted : ecFailed;
}
