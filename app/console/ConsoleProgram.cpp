#include "app/console/ConsoleProgram.h"

#include <memory>
#include <ostream>

#include "app/console/ConsoleJournalCommands.h"
#include "app/console/ConsoleJson.h"
#include "app/console/ConsoleReplace.h"
#include "app/console/ConsoleSurvey.h"
#include "app/units/ProgramStartHook.h"
#include "app/units/ProgramUnits.h"
#include "app/units/StartupSequence.h"
#include "common/Classes.h"
#include "db/RemoteControlNotice.h"
#include "host/NamedInstallation.h"
#include "log/EurekaLog.h"
#include "platform/Platform.h"
#include "platform/console/ConsoleUiServices.h"

static_assert(InstallationRefusedExitCode == ecFailed,
              "both programs end with the same code when the installation named is none");

namespace {

// The console program's stand-in for the window: owner of the command's data module and sender
// of its log entries.
class TChangePathForDocsCli : public TComponent {
 public:
  TChangePathForDocsCli() : TComponent(nullptr, "ChangePathForDocsCli") {}
  std::string ClassName() const override { return "TChangePathForDocsCli"; }
  std::string UnitName() const override { return "ConsoleProgram"; }
};

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

// Drops the terminal user interface when the run ends: it refers to the run's streams.
struct TUiForTheRun {
  ~TUiForTheRun() { Platform().SetUi(nullptr); }
};

int RunCommand(TConsoleSession& session) {
  switch (session.Args.Command) {
    case TConsoleCommand::ListRuns:
      return RunConsoleListRuns(session);
    case TConsoleCommand::ShowRun:
      return RunConsoleShowRun(session);
    case TConsoleCommand::Undo:
      return RunConsoleUndo(session);
    case TConsoleCommand::Resume:
      return RunConsoleResume(session);
    case TConsoleCommand::Survey:
      return RunConsoleSurvey(session);
    case TConsoleCommand::Replace:
      break;
  }
  return RunConsoleReplace(session);
}

// The run once the program units have started: the start-up checks, then the command.
int RunStarted(TConsoleSession& session) {
  std::string failure;
  if (RunStartupChecks(&session.Program, nullptr, &failure) != TStartupOutcome::Ready) {
    // The application's handling logged it; the terminal is told plainly.
    if (!failure.empty()) TellConsoleError(session, failure);
    return ecFailed;
  }
  try {
    RunProgramStartHook();
    return RunCommand(session);
  } catch (...) {
    // The exception manager logs it and tells the user; the terminal is told plainly too.
    HandleEscapedException();
    TellConsoleError(session, CurrentExceptionText());
    return ecFailed;
  }
}

}  // namespace

int RunConsoleProgram(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                      std::ostream& err, TConsoleTerminal terminal) {
  TConsoleArgs parsed;
  if (int code = ParseConsoleArgs(args, out, err, parsed); code >= 0) return code;
  // The installation is chosen before anything reads the program folder.
  TNamedInstallationForTheRun installationForTheRun;
  if (std::string refusal; !UseNamedInstallation(parsed.Installation, refusal)) {
    err << refusal << std::endl;
    if (parsed.Json) {
      TConsoleJson refused(ConsoleCommandName(parsed));
      refused.Error(refusal);
      refused.Print(out, InstallationRefusedExitCode);
    }
    return InstallationRefusedExitCode;
  }

  // The one place that chooses text or JSON: with --json the commands' text goes nowhere, the
  // messages and questions for people to the error stream, and the object alone to the output.
  std::unique_ptr<TConsoleJson> json;
  if (parsed.Json) json = std::make_unique<TConsoleJson>(ConsoleCommandName(parsed));
  std::ostream nowhere(nullptr);
  std::ostream& text = json ? nowhere : out;
  TConsoleUiOptions uiOptions;
  uiOptions.InputIsTerminal = terminal.StdinIsTerminal;
  uiOptions.AssumeYes = parsed.Yes;
  if (json) uiOptions.Told = [&json](const std::string& told) { json->Told(told); };
  auto ui = std::make_unique<TConsoleUiServices>(in, json ? err : out, err, uiOptions);
  ui->RegisterForm(RemoteControlNoticeForm, RemoteControlNoticeText());
  Platform().SetUi(std::move(ui));
  TUiForTheRun uiForTheRun;

  TChangePathForDocsCli program;
  TConsoleSession session{program, parsed, text, err, terminal, json.get()};
  const int code = RunWithProgramUnits(
      &program, [&] { return RunStarted(session); }, ecFailed, ecRefused,
      [&](const std::exception& e) { TellConsoleError(session, e.what()); });
  if (json) json->Print(out, code);
  return code;
}
