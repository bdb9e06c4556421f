// The console program's options, parsed; the only user of CLI11.
//
//   VrlChangeDocsPathCli [--installation DIR] [--old PATH]... --new PATH [--yes] [--dry-run]
//                        [--force] [--no-journal] [--preferences update|keep] [--report FILE]
//                        [--check-files --old-root PATH [--new-root PATH]]
//   VrlChangeDocsPathCli [--installation DIR] --mapping FILE [--yes] [--dry-run] [--force]
//                        [--no-journal] [--preferences update|keep] [--report FILE]
//                        [--check-files --old-root PATH [--new-root PATH]]
//   VrlChangeDocsPathCli [--installation DIR] --list-runs
//   VrlChangeDocsPathCli [--installation DIR] --show-run RUN
//   VrlChangeDocsPathCli [--installation DIR] --undo RUN [--yes] [--dry-run]
//   VrlChangeDocsPathCli [--installation DIR] --resume RUN [--yes] [--dry-run]
//                        [--preferences update|keep]
//   VrlChangeDocsPathCli [--installation DIR] --survey [--depth N] [--report FILE]
//
// --installation names the installation to work on (its root, the folder holding DB, DBSys, Logs
// and Utils) in place of the one around the program; without it VRL_INSTALLATION may name one
// (host/NamedInstallation.h).
// --json goes with every command: one JSON object on the output in place of the text
// (app/console/ConsoleJson.h); a usage error with --json prints {"command": null, ...} too.
//
// --report and --check-files make the run a dry run. A folder or file value may be neither
// empty nor another option. --old may be given several times, each replaced by the one --new;
// --mapping names a file of old and new folders instead (docpaths/FolderMappings.h), read by
// the replace. --survey takes none of the other commands' folders and runs, and --depth (1 to 8)
// only goes with it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "docpaths/PreflightReport.h"
#include "docpaths/StoredFolders.h"

enum class TConsoleCommand { Replace, ListRuns, ShowRun, Undo, Resume, Survey };

struct TConsoleArgs {
  TConsoleCommand Command = TConsoleCommand::Replace;
  std::string OldPath;                // the first --old
  std::vector<std::string> OldPaths;  // every --old, in order
  bool OldPathGiven = false;
  std::string MappingFile;
  std::string NewPath;
  std::string Run;  // --show-run, --undo, --resume: the run
  bool Yes = false;
  bool DryRun = false;
  bool Force = false;
  bool NoJournal = false;
  bool Json = false;
  // --preferences: update or keep the folder preferences naming the old folder; empty: ask on a
  // terminal (without --yes), else keep them and say how many.
  std::string Preferences;
  std::string ReportFile;
  TFileCheck Files;
  int Depth = kDefaultSurveyDepth;  // --survey: how many levels of a path group its folder
  std::string Installation;         // --installation; empty: not given
};

// Parses args (the arguments after the program name) into parsed: -1 when the program goes on,
// otherwise its exit code (0 after --help, ecUsage after wrong usage, told on err).
int ParseConsoleArgs(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     TConsoleArgs& parsed);
