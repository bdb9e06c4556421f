// The console's survey of the stored folders (--survey [--depth N] [--report FILE]): the leading
// folders that Docs, Cards and the text preferences name, read once each as a dry run reads them
// (no lock, nothing written), printed per table with their record counts, most records first,
// then the values that are no absolute path by kind:
//
//   Stored folders, cut after 2 levels (a drive or a \\server\share is the first). Nothing was
//   changed.
//   Documents (Docs.DOCUMENT_NAME): 1000 records
//       910  C:\VarnelDocs
//        10  \\fs1\C$\VarnelDocs
//        20  (empty)
//
// With --report FILE the same goes to FILE as CSV (app/report/StoredFolderSurveyCsv.h), under the
// pre-flight report's file rule, checked before the tables are read. Progress on the error
// stream when it is a terminal.
#pragma once

#include "app/console/ConsoleSession.h"

int RunConsoleSurvey(TConsoleSession& session);
