// The one JSON object a console command prints on the output with --json, in place of its text
// (README, "Output for scripts"). Every object has "command" (ConsoleCommandName, null for a
// usage error) and "exit_code" (ConsoleExitCodes.h); the commands add their own keys
// (ConsoleJsonResult.h, ConsoleJsonReport.h, ConsoleJsonRuns.h). With --json the console program
// sends its text for people to the error stream or nowhere (ConsoleProgram.cpp decides), so
// that nothing but this object reaches the output.
#pragma once

#include <iosfwd>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>

struct TConsoleArgs;
struct TConsoleSession;

class TConsoleJson {
 public:
  // command: the "command" key; nullptr: null.
  explicit TConsoleJson(const char* command);
  ~TConsoleJson();
  TConsoleJson(const TConsoleJson&) = delete;
  TConsoleJson& operator=(const TConsoleJson&) = delete;

  nlohmann::ordered_json& Object() { return *object_; }
  void Outcome(const char* outcome);
  // "error": what the command told on the error stream when it ended without its work (the last
  // one told).
  void Error(const std::string& text);
  // A warning or error the program told people: the "error" of a command that ends without its
  // work and without an error of its own (Print takes the last one told).
  void Told(const std::string& text) { told_ = text; }
  // Appends to "warnings" (created on first use).
  void Warning(const std::string& text);
  // Prints the object with its "exit_code" as one line; a command that failed or was refused
  // (exit code not 0, outcome not "completed") gets the last text told as its "error" when it has
  // none.
  void Print(std::ostream& out, int exitCode);

 private:
  std::unique_ptr<nlohmann::ordered_json> object_;
  std::string told_;
};

// Tells text on the session's error stream and, with --json, keeps it as "error".
void TellConsoleError(TConsoleSession& session, const std::string& text);

// "replace", "dry-run", "survey", "list-runs", "show-run", "undo" or "resume".
const char* ConsoleCommandName(const TConsoleArgs& args);

// The object of a usage error: {"command": null, "exit_code": 64, "error": text}.
void PrintUsageErrorJson(std::ostream& out, const std::string& text);
