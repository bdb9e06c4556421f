#include "commands/RunListLine.h"

#include <sstream>

std::string RunListLine(const TPathRun& run) {
  std::ostringstream line;
  line << run.RunId << "  " << run.Started << "  " << run.OldFolder << " -> " << run.NewFolder
       << "  Docs " << run.Docs << ", Cards " << run.Cards;
  if (run.Prefs > 0) line << ", Pref " << run.Prefs;
  line << "  " << (run.Kind == "undo" ? "undo of " + run.Target : run.Kind);
  if (!run.UndoneBy.empty()) line << ", undone by " << run.UndoneBy;
  if (run.Incomplete()) line << ", incomplete";
  return line.str();
}
