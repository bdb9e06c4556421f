#include "app/console/ConsoleJournalCommands.h"

#include <ostream>

#include "app/console/ConsoleExitCodes.h"
#include "app/console/ConsoleRewriteRun.h"
#include "commands/PathUndoCommand.h"
#include "commands/RunListLine.h"
#include "common/Format.h"
#include "common/StrTable.h"
#include "docpaths/journal/PathJournal.h"
#include "platform/Platform.h"
#include "platform/UiServices.h"

int RunConsoleListRuns(TConsoleSession& session) {
  std::ostream& out = session.Out;
  TPathJournal journal;
  try {
    if (!journal.Exists()) {
      out << "No run is journalled in this database." << std::endl;
      return ecCompleted;
    }
    for (const TPathRun& run : journal.Runs()) out << RunListLine(run) << std::endl;
  } catch (const EADSDatabaseError& e) {
    Platform().Ui().ShowMessage(Format(LoadStr(sJournalUnreadable), {e.Message()}),
                                TMessageKind::mkError);
    return ecFailed;
  }
  return ecCompleted;
}

int RunConsoleUndo(TConsoleSession& session) {
  TConsoleRewriteRun run(session);
  return run.Finish(UndoPathRun(session.Program, session.Args.Run, run.Options()));
}

int RunConsoleResume(TConsoleSession& session) {
  TConsoleRewriteRun run(session);
  return run.Finish(ResumePathRun(session.Program, session.Args.Run, run.Options()));
}
