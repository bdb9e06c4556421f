// What both programs run before they do anything else, and the checks of the window's creation
// that must pass before the window is shown.
#pragma once

class TEurekaLog;
class TObject;

// The process-wide initialisations, in order, and their finalisations in reverse when the
// program ends (however it ends): folder defaults, regional settings, the exception manager,
// the start-up guard; then at the end the preference store and the language module, the lock
// table, the help links, the online link flags, the button width cache, the event log and the
// guard's run mutex are released and the manager freed. Both programs create it before any
// window or console output.
class TProgramUnits {
 public:
  TProgramUnits();
  ~TProgramUnits();
  TProgramUnits(const TProgramUnits&) = delete;
  TProgramUnits& operator=(const TProgramUnits&) = delete;

  // True when the start-up guard ended the process (it has told the user why): the program
  // runs the finalisations and ends with HaltExitCode, showing no window.
  bool Halted() const { return halted_; }
  int HaltExitCode() const { return haltExitCode_; }

 private:
  bool halted_ = false;
  int haltExitCode_ = 0;
};

enum class TStartupOutcome {
  Ready,                // the window may be shown
  EngineClientRefused,  // engine client files missing or of another version ("VrlHlt-0")
  DatabaseUnreachable,  // the main connection could not be opened ("VrlHlt-1")
};

// The creation checks, on behalf of window: starts the event log, hands the exception-capture
// component to the exception manager (none: the manager makes its own), checks the engine
// client (failure: its message shown and logged), checks the lock table, which opens the main
// connection (failure: logged; the connection has shown its own message), then loads the
// preferences of all users (level "-1"), whose failure is logged and does not stop start-up.
TStartupOutcome RunStartupChecks(const TObject* window, TEurekaLog* captureComponent);
