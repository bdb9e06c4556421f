// The file a report is written to, and the one rule for what it may replace: nothing, an empty
// regular file, or an earlier report (a regular file whose first line is one of the report's
// header lines). Anything else at the path (a link, even one to a report; a folder, a device, a
// pipe; the database, an ini file, a program) is refused with nothing written, and so is any file
// in the database folder, whose lock files are empty. Only the header's length is read of an
// existing file, and links at the path are never followed.
//
// The folder is opened once and every later step works inside it, so a folder swapped for a link
// meanwhile changes nothing. The text goes to a temporary file beside the path, of a fresh random
// name created exclusively (O_EXCL, O_NOFOLLOW; mode 0644 under the umask and the folder's
// default permissions), and takes the path's place in one step. In a folder where others write,
// the thing checked may be swapped before that step; so an existing file is exchanged with the
// temporary one (RENAME_EXCHANGE) and given back its place if what comes out is not the file
// checked, and a new file never replaces one that appeared meanwhile (RENAME_NOREPLACE). On a file
// system without these, the check is repeated just before a plain rename.
#pragma once

#include <string>
#include <vector>

// The header lines a report may begin with (its forms' first lines).
using TReportHeaders = std::vector<std::string>;

// Throws std::runtime_error (string sReportFileNotReplaced or sReportInDatabaseFolder) when a
// report may not replace what lies at path, or (sReportCannotBeWritten) when that cannot be told.
// An empty databaseFolder protects no folder.
void CheckReportFile(const std::string& path, const TReportHeaders& headerLines,
                     const std::string& databaseFolder);

// Writes text to path as described above, flushed to disk before it takes the path's place; a
// reader sees the old file or the whole new one. Throws as CheckReportFile, or with
// sReportCannotBeWritten when it cannot write; the temporary file is removed then.
void ReplaceReportFile(const std::string& path, const std::string& text,
                       const TReportHeaders& headerLines, const std::string& databaseFolder);
