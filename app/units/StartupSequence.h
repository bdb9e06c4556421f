// The checks of the window's creation that must pass before the window is shown; the console
// program runs the same checks before its replace.
#pragma once

#include <string>

class TEurekaLog;
class TObject;

enum class TStartupOutcome {
  Ready,                // the window may be shown
  EngineClientRefused,  // engine client files missing or of another version ("VrlHlt-0")
  DatabaseUnreachable,  // the main connection could not be opened ("VrlHlt-1")
  Failed,               // a step raised: the application's exception handling logged and showed it
};

// The creation checks, on behalf of window: hands the exception-capture component to the
// exception manager (none: the manager makes its own), checks the engine client (failure: its
// message shown and logged), checks the lock table, which opens the main connection (failure:
// logged; the connection has shown its own message), then loads the preferences of all users
// (level "-1"), whose failure is logged and does not stop start-up. A step that raises (the lock
// table cannot be opened, ...) goes to the exception manager; the checks never let it escape.
// failure (may be none) receives the message of a step that raised.
TStartupOutcome RunStartupChecks(const TObject* window, TEurekaLog* captureComponent,
                                 std::string* failure = nullptr);
