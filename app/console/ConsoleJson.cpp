#include "app/console/ConsoleJson.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "app/console/ConsoleArgs.h"
#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleSession.h"

TConsoleJson::TConsoleJson(const char* command)
    : object_(std::make_unique<nlohmann::ordered_json>(nlohmann::ordered_json::object())) {
  Object()["command"] = command ? nlohmann::ordered_json(command) : nlohmann::ordered_json();
  Object()["exit_code"] = nullptr;  // set by Print: keeps its place after "command"
}

TConsoleJson::~TConsoleJson() = default;

void TConsoleJson::Outcome(const char* outcome) {
  Object()["outcome"] = outcome;
}

void TConsoleJson::Error(const std::string& text) {
  Object()["error"] = text;
}

void TConsoleJson::Warning(const std::string& text) {
  Object()["warnings"].push_back(text);
}

void TConsoleJson::Print(std::ostream& out, int exitCode) {
  Object()["exit_code"] = exitCode;
  const bool completed = Object().value("outcome", std::string()) == "completed";
  if (exitCode != 0 && !completed && !Object().contains("error") && !told_.empty()) Error(told_);
  // Stored paths come from other programs: a byte that is no UTF-8 shows as U+FFFD instead of
  // failing the whole object.
  out << Object().dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
      << std::endl;
}

void TellConsoleError(TConsoleSession& session, const std::string& text) {
  session.Err << text << std::endl;
  if (session.Json) session.Json->Error(text);
}

const char* ConsoleCommandName(const TConsoleArgs& args) {
  switch (args.Command) {
    case TConsoleCommand::ListRuns:
      return "list-runs";
    case TConsoleCommand::ShowRun:
      return "show-run";
    case TConsoleCommand::Undo:
      return "undo";
    case TConsoleCommand::Resume:
      return "resume";
    case TConsoleCommand::Survey:
      return "survey";
    case TConsoleCommand::Replace:
      break;
  }
  return args.DryRun ? "dry-run" : "replace";
}

void PrintUsageErrorJson(std::ostream& out, const std::string& text) {
  TConsoleJson json(nullptr);
  json.Error(text);
  json.Print(out, ecUsage);
}
