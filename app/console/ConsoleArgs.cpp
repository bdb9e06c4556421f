#include "app/console/ConsoleArgs.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleJson.h"

namespace {

// A folder or file value may be neither empty nor another option: "--report=" or "--new=$NEW"
// with the variable unset is a slip of the caller, and CLI11 would take the next word ("--yes")
// for the value.
std::string RefuseEmptyOrOptionValue(std::string& value) {
  if (value.empty()) return "a value may not be empty";
  if (value.rfind("--", 0) == 0)
    return "\"" + value + "\" is an option, not a value (was the value left out?)";
  return {};
}

}  // namespace

int ParseConsoleArgs(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     TConsoleArgs& parsed) {
  const CLI::Validator NotEmpty(RefuseEmptyOrOptionValue, "", "NOT_EMPTY");
  CLI::App app{
      "Rewrites the stored document paths and card document folders of a CRM "
      "installation after its documents folder moved.",
      "VrlChangeDocsPathCli"};
  auto* oldPaths = app.add_option("--old", parsed.OldPaths,
                                  "the old documents folder (prefix to replace); default: the "
                                  "documents folder of the preferences; give it again for each "
                                  "further old folder that --new replaces")
                       ->check(NotEmpty)
                       ->allow_extra_args(false)  // one folder per --old
                       ->take_all();
  auto* newPath = app.add_option("--new", parsed.NewPath,
                                 "the new documents folder (prefix to put in its place)")
                      ->check(NotEmpty);
  auto* mapping = app.add_option("--mapping", parsed.MappingFile,
                                 "a CSV file of old,new folders to move in one run (UTF-8, "
                                 "header row old,new)")
                      ->check(NotEmpty);
  mapping->excludes(oldPaths)->excludes(newPath);
  app.add_option("--installation", parsed.Installation,
                 "the CRM installation to work on: its root folder, which holds DB, DBSys, Logs "
                 "and Utils (default: VRL_INSTALLATION, else the installation around the program)")
      ->check(NotEmpty);
  app.add_flag("--yes", parsed.Yes, "answer Yes to the confirmation");
  app.add_flag("--json", parsed.Json,
               "print one JSON object on the output in place of the text (messages stay on the "
               "error stream)");
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

  bool listRuns = false;
  std::string showRun, undoRun, resumeRun;
  auto* list = app.add_flag("--list-runs", listRuns, "list the journalled runs, oldest first");
  auto* show = app.add_option("--show-run", showRun,
                              "show the run RUN: its folders, what it wrote under each, its state")
                   ->check(NotEmpty);
  auto* undo = app.add_option("--undo", undoRun,
                              "undo the run RUN: put back every path it wrote that nobody changed "
                              "since")
                   ->check(NotEmpty);
  auto* resume =
      app.add_option("--resume", resumeRun, "finish the incomplete run RUN")->check(NotEmpty);
  auto* noJournal =
      app.add_flag("--no-journal", parsed.NoJournal, "replace without an undo journal");
  auto* prefs = app.add_option("--preferences", parsed.Preferences,
                               "update: point the folder preferences naming the old folder at "
                               "the new one too; keep: leave them (default without a terminal)")
                    ->check(CLI::IsMember({"update", "keep"}));
  for (CLI::Option* other : {list, show, undo}) prefs->excludes(other);
  list->excludes(show)->excludes(undo)->excludes(resume)->excludes(noJournal)->excludes(mapping);
  show->excludes(undo)->excludes(resume)->excludes(noJournal)->excludes(mapping);
  undo->excludes(resume)->excludes(noJournal)->excludes(mapping);
  resume->excludes(noJournal)->excludes(mapping);

  bool surveyFlag = false;
  auto* survey = app.add_flag("--survey", surveyFlag,
                              "list the leading folders the stored paths name, with their record "
                              "counts; changes nothing");
  app.add_option("--depth", parsed.Depth,
                 "with --survey: how many levels of a path make its folder, the drive or "
                 "\\\\server\\share counting as one (1 to 8, default 2)")
      ->check(CLI::Range(kMinSurveyDepth, kMaxSurveyDepth))
      ->needs(survey);
  for (const char* other :
       {"--old", "--new", "--force", "--check-files", "--old-root", "--new-root", "--list-runs",
        "--show-run", "--undo", "--resume", "--no-journal", "--mapping"})
    survey->excludes(other);

  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them reversed
  try {
    app.parse(reversed);
    parsed.OldPathGiven = !parsed.OldPaths.empty();
    if (parsed.OldPathGiven) parsed.OldPath = parsed.OldPaths.front();
    parsed.DryRun = parsed.DryRun || !parsed.ReportFile.empty() || parsed.Files.Enabled;
    if (surveyFlag) {
      parsed.Command = TConsoleCommand::Survey;
    } else if (listRuns) {
      parsed.Command = TConsoleCommand::ListRuns;
    } else if (show->count()) {
      parsed.Command = TConsoleCommand::ShowRun;
      parsed.Run = showRun;
    } else if (undo->count()) {
      parsed.Command = TConsoleCommand::Undo;
      parsed.Run = undoRun;
    } else if (resume->count()) {
      parsed.Command = TConsoleCommand::Resume;
      parsed.Run = resumeRun;
    }
    // A replace needs --new (or the mapping file, which names the new folders); the journal
    // commands take their folders from the journal, and the survey names none.
    const bool replace = parsed.Command == TConsoleCommand::Replace;
    if (!replace && newPath->count())
      throw CLI::ValidationError("--new: not with a journal command");
    if (replace && !newPath->count() && !mapping->count())
      throw CLI::ValidationError("--new is required");
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err) == 0 ? ecCompleted : ecUsage;
    // The parse stopped at the error: --json is looked for among the words themselves.
    if (code == ecUsage && std::find(args.begin(), args.end(), "--json") != args.end())
      PrintUsageErrorJson(out, e.what());
    return code;
  }
  return -1;
}
