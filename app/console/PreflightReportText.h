// The pre-flight report as the console program prints it after a dry run's counts:
//
//   Pre-flight report
//   Re-run hazard: the new folder ... lies under the old folder ... (only then)
//   Documents: 25 will change, 2 already under the new folder, 0 re-run hazard, 1 too long
//   (at most 260 characters)
//     already under the new folder: E:\New\x.doc
//     too long: C:\Docs\long... -> E:\New\long...
//   Documents: 40 records under other folders than C:\Docs (only when there are any)
//     other folder: D:\Archive (20)
//   Documents files: 3 old paths name no file, 1 new path names a file (with --check-files)
//     no file: C:\Docs\a.doc (/mnt/old/a.doc)
//
// The other folders are the absolute paths the old folder does not take, grouped as the survey
// groups them (docpaths/StoredFolders.h), the 5 holding the most records. Each measure lists up
// to 20 samples; "too long" says "(no width enforced)" on engines that keep any length. With
// several folders the same follows for each row ("Folder 1 of 3: C:\Docs\Scans -> E:\Scans"),
// its re-run hazard line when its new folder lies under its old one, and its values that will
// change among its samples.
#pragma once

#include <iosfwd>
#include <string>

#include "docpaths/PreflightReport.h"

void PrintPreflightReport(std::ostream& out, const TPreflightReport& report,
                          const std::string& oldPath, const std::string& newPath);
