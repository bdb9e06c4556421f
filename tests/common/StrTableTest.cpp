// Every numbered text of the string table, pinned to its literal, byte for byte: a typo in the
// table (or an entry added without being pinned here) fails this test.
#include "common/StrTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const std::map<int, std::string>& PinnedTexts() {
  static const std::map<int, std::string> texts = {
      {64860,
       "Re-run hazard: the new folder %S lies under the old folder %S. A second run would rewrite "
       "the rewritten paths again, one folder deeper each time."},
      {64861,
       "The new folder %S lies under the old folder %S.\r\nA second run of this replace would "
       "rewrite the rewritten paths again, one folder deeper.\r\nDo you want to replace all the "
       "same?"},
      {64862,
       "The new folder %S lies under the old folder %S: a second run would rewrite the rewritten "
       "paths again. Nothing was changed; give --force to replace all the same."},
      {64863, "The report cannot be written to %S:\r\n%S"},
      {64864,
       "The report is not written to %S: only an empty file or an earlier report is replaced, "
       "and this is neither (a link, a folder, a device, a database or another program's file "
       "is never replaced). Nothing was written."},
      {64865,
       "The report is not written to %S: no report is written into the database folder, which "
       "holds the CRM database and its lock files. Nothing was written."},
      {64866,
       "The replace cannot start: the lock on the database server that keeps two replaces apart "
       "cannot be taken.\r\n%S\r\n%S\r\nNothing was changed."},
      {64870,
       "Another replace of the document paths is running on this installation (another window, "
       "console or station). Nothing was changed; try again when it has finished."},
      {64871,
       "The old path holds a line break or another control character, which no Windows path "
       "holds. Nothing was changed."},
      {64872,
       "The new path holds a line break or another control character, which no Windows path "
       "holds. Nothing was changed."},
      {64873,
       "The old path is longer than 32,767 characters, the longest path Windows allows. Nothing "
       "was changed."},
      {64874,
       "The new path is longer than 32,767 characters, the longest path Windows allows. Nothing "
       "was changed."},
      {64875,
       "The replace cannot start: the lock file that keeps two replaces apart cannot be "
       "opened.\r\n%S\r\n%S\r\nNothing was changed."},
      {64876,
       "The old path is not valid UTF-8 text: it holds bytes that are no character. Nothing was "
       "changed."},
      {64877,
       "The new path is not valid UTF-8 text: it holds bytes that are no character. Nothing was "
       "changed."},
      {64878,
       "The old path holds a character that changes the direction of the text or breaks its "
       "line (U+202A to U+202E, U+2066 to U+2069, U+2028, U+2029), which would garble it in "
       "lists and logs. Nothing was changed."},
      {64879,
       "The new path holds a character that changes the direction of the text or breaks its "
       "line (U+202A to U+202E, U+2066 to U+2069, U+2028, U+2029), which would garble it in "
       "lists and logs. Nothing was changed."},
      {64880, "1 other station has the CRM open."},
      {64881, "%d other stations have the CRM open."},
      {64882,
       "Close the CRM on the other stations before updating document paths: documents saved "
       "there while the paths change may keep the old path."},
      {64883, "&Continue"},
      {64884, "Updating document paths"},
      {64885, "Documents: %s of %s"},
      {64886, "Cards: %s of %s"},
      {64887, "Continue while they are open?"},
      {64888, "Documents: %d of %d will be rewritten."},
      {64889, "Cards: %d of %d will be rewritten."},
      {64890, "&Undo"},
      {64891, "&Resume"},
      {64892, "Close"},
      {64900, "Cannot run this program From this server folder (Lastver)"},
      {64901,
       "Cannot open Varnel since maintenance is currently being performed. Try again in a few "
       "minutes."},
      {64902,
       "Note that a different user is operating this program. Do you still want to open it?"},
      {64903, "&Yes"},
      {64904, "&No"},
      {64905, "OK"},
      {64906, "Cancel"},
      {64907, "&Abort"},
      {64908, "&Retry"},
      {64909, "&Ignore"},
      {64910, "&All"},
      {64911, "N&o to All"},
      {64912, "Yes to &All"},
      {64913, "&Help"},
      {64914,
       "Stored folders, cut after %d levels (a drive or a \\\\server\\share is the first). "
       "Nothing was changed."},
      {64915, "Documents (Docs.DOCUMENT_NAME): %d records"},
      {64916, "Cards (Cards.DOCSFOLDER): %d records"},
      {64917, "Preferences (text values of Pref): %d records"},
      {64918, "Report written to %S"},
      {64919, "%S: %d records under other folders than %S"},
      {64920, "other folder: %S (%d)"},
      {64921, "The installation %S does not exist. Nothing was changed."},
      {64922, "The installation %S is not a folder. Nothing was changed."},
      {64923, "The installation %S cannot be read: %S. Nothing was changed."},
      {64924,
       "The installation %S lacks %S: an installation is the folder that holds DB, DBSys, Logs "
       "and Utils, with VarnelCRM.ini in Utils. Nothing was changed."},
      {64925, "%S\r\n(The installation is named by the environment variable %S.)"},
      {64926, "Documents: %d of %d will change; %d already lie under the new folder."},
      {64927, "Cards: %d of %d will change; %d already lie under the new folder."},
      {64928, "No document or card lies under the old folder: nothing will change."},
      {64929, "Documents: %d examined, %d rewritten."},
      {64930, "Cards: %d examined, %d rewritten."},
      {64931, "%d records changed by another station meanwhile were left alone."},
      {64932, "Run %s can be undone from History."},
      {64933,
       "%d records were written and are kept (Documents %d, Cards %d). Run %s is incomplete: it "
       "can be resumed from History."},
      {64934, "History"},
      {64935, "No run is journalled in this database."},
      {64936, "Documents: %d of %d will be restored."},
      {64937, "Cards: %d of %d will be restored."},
      {64938, "Documents: %d examined, %d restored."},
      {64939, "Cards: %d examined, %d restored."},
      {64940,
       "Do you want to undo run %s? Every record that still holds the path it wrote gets back its "
       "path from before (%s back to %s)."},
      {64941, "There is no run %s in the undo journal of this database. Nothing was changed."},
      {64942, "Run %s was already undone by run %s. Nothing was changed."},
      {64943,
       "This database has no undo journal: no replace was journalled in it. Nothing was changed."},
      {64944,
       "The undo journal of this database cannot be read; it may be damaged. Nothing was "
       "changed.\r\n%s"},
      {64945, "Run %s is complete: there is nothing to resume. Nothing was changed."},
      {64947, "Run %s is journalled. To undo it: %s"},
      {64948, "The undo left %d records alone: %d changed and %d deleted since the run."},
      {64950,
       "Run %s has an unfinished undo, run %s. Finish that undo first (%s). Nothing was "
       "changed."},
      {64951,
       "The undo journal of run %s is missing %d rows: the run cannot be undone or resumed "
       "through it. Nothing was changed."},
      {64952,
       "Run %s undid run %s, which never finished: undoing it would bring that run back half "
       "done. Nothing was changed."},
      {64953, "Stopped by %s: %d records were written and are kept (Documents %d, Cards %d)."},
      {64954, "Run %s is incomplete. To finish it: %s"},
      {64955, "The run was not journalled: to finish it, run the same replace again."},
      {64956,
       "The old folder %S is given twice (rows %d and %d of the mapping): each old folder is "
       "moved once. Nothing was changed."},
      {64957,
       "The new folder %S (row %d of the mapping) lies under the old folder %S (row %d): what "
       "the run moves there would belong to that row. Move these folders in two runs. Nothing was "
       "changed."},
      {64958, "Row %d of the mapping: %s"},
      {64959, "The mapping file %S cannot be read: %S. Nothing was changed."},
      {64960, "The mapping file %S, line %d: the text is not UTF-8. Nothing was changed."},
      {64961,
       "The mapping file %S, line %d: the first row must be the header old,new. Nothing was "
       "changed."},
      {64962,
       "The mapping file %S, line %d: a quoted field is not closed, or text follows its "
       "closing quote. Nothing was changed."},
      {64963,
       "The mapping file %S, line %d: a row holds two fields, the old folder and the new one. "
       "Nothing was changed."},
      {64964,
       "The mapping file %S, line %d: the old or the new folder is empty. Nothing was changed."},
      {64965, "The mapping file %S holds no folder below its header. Nothing was changed."},
      {64966, "%d folders"},
      {64967, "Folder %s -> %s: Documents %d, Cards %d"},
      {64968,
       "Per folder not counted: %d posts were refused or not committed after the rule matched "
       "them."},
      {64969, "Folder %d of %d: %s -> %s"},
      {64970, "State: complete. To undo it: %s"},
      {64971, "State: incomplete. To finish it: %s"},
      {64972, "State: undone by run %s."},
      {64973,
       "--check-files looks for the files of one new folder, and the rows of this mapping name "
       "%d. Nothing was checked."},
      {64974, "To count them per folder from the journal: %s"},
      {64975, "Matched by no folder: Documents %d, Cards %d"},
      {64976, "Also point %d folder preferences at the new folder?"},
      {64977, "Preferences: %d pointed at the new folder"},
      {64978, "Preferences: %d left naming the old folder"},
      {64979,
       "%d folder preferences still name the old folder. To point them at the new one, run "
       "again with --preferences update."},
      {64980, "Preferences: %d of %d text values name the old folder"},
      {64981, "Folder preferences naming the old folder: %d (asked next)."},
      {64982, "Preferences: %d examined, %d rewritten."},
      {64983, "Preferences: %d examined, %d restored."},
      {64984,
       "No installation is named, and %S is where the package installs the programs, not an "
       "installation. Name the installation with --installation DIR (the console program), the "
       "environment variable %S, or a VarnelCRM.ini beside the programs whose [DATABASE] Path "
       "names its DB folder. Nothing was changed."},
      {64992, "Do you want to start updating document paths?"},
      {64993, "Operation completed"},
      {64994, "Select primary system documents folder"},
      {64995, "Select primary system documents folder"},
      {64996, "The process failed"},
      {65023, "Enter new path and try again"},
      {65187, "Message registered in log file:"},
      {65189,
       "Procedure halted due to data server access error.\n\rVerify server is operating and "
       "this computer has access to the server folder."},
      {65190,
       "Procedure halted due to data database/server access error.\n\rVerify server is "
       "operating and this computer has access to the server folder."},
      {65191,
       "Procedure stopped.\n\r\n\rIf you are trying to run Varnel using remote control "
       "technologies, please contact Varnel support for more details."},
      {65192,
       "נמצאה גרסה ישנה מאוד של SQL.\n\rעבור הגרסה החדשה של Varnel נדרשת גרסה מתקדמת יותר של "
       "SQL\r\n(6316)"},
      {65193,
       "נמצאה גרסה ישנה מאוד של SQL.\n\rעבור הגרסה החדשה של Varnel נדרשת גרסה מתקדמת יותר של "
       "SQL\r\n(6633)"},
      {65194, "%S operation stopped.\r\n\r\nFolder:\r\n%S\r\n\r\nMissing Files:\r\n%S"},
      {65195,
       "A database engine version mismatch was detected.\r\nThe required version is %S.\r\nAn "
       "older version, %S, is present.\r\n"},
      {65196, "LNGENG"},
      {65197, "נתגלתה שגיאה כללית בעת העלאת Varnel\r\n(Error Code: Lang/Pref)."},
      {65280, "file not found"},
  };
  return texts;
}

TEST(StrTable, EveryNumberedTextIsItsLiteral) {
  std::vector<int> pinnedIds;
  for (const auto& [id, text] : PinnedTexts()) {
    pinnedIds.push_back(id);
    EXPECT_EQ(LoadStr(static_cast<TStrId>(id)), text) << id;
  }
  EXPECT_EQ(StrTableIds(), pinnedIds);
}

TEST(StrTable, AnUnknownNumberIsEmpty) {
  EXPECT_EQ(LoadStr(sNoText), "");
  EXPECT_EQ(LoadStr(static_cast<TStrId>(64991)), "");
}

}  // namespace
