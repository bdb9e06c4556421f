// The pre-flight report as a CSV file (RFC 4180: comma-separated, CRLF line ends, UTF-8 text as
// stored). One header row, then one row per count and one per sample:
//
//   table,measure,count,value,related
//   ,new_under_old,1,C:\Docs,C:\Docs\Archive
//   Docs,examined,1000,,
//   Docs,column_width,260,,               (only when the engine enforces a width)
//   Docs,will_change,2,,
//   Docs,will_change,,C:\Docs\a.doc,E:\New\a.doc
//   ...
//
// A count row has an empty value and related; a sample row an empty count, the stored value in
// value, and in related the rewrite (will_change, too_long), what a second run would make of
// the rewrite (rerun_hazard, whose value is the rewrite), the local path checked
// (old_file_missing, new_file_present) or nothing (already_new). Measures per table, in this
// order: examined, column_width, will_change, already_new, rerun_hazard, too_long, with a file
// check old_file_missing and (with a new root) new_file_present, and last other_folders: the
// records under other folders than the old one, followed by one other_folder row for each of
// the (at most 5) folders holding the most of them, its count and the folder in value:
//
//   Docs,other_folders,40,,
//   Docs,other_folder,20,D:\Archive,
//
// Last come the folder preferences: Pref,examined (the text values read) and Pref,will_change
// (those naming an old folder), each sample's value "<TOKEN> (<level>): <stored value>" and its
// related the rewrite.
//
// A text field beginning with
// "=", "+", "-", "@", a tab or a carriage return gets a leading "'" so that a spreadsheet shows it
// as text instead of running it as a formula; the counts are written as numbers. A field holding
// a comma, a quote, a line break or a leading or trailing blank is quoted, its quotes doubled.
//
// A report of several folders has a sixth column, mapping, the number of the mapping row (from
// 1) a row belongs to: first one new_under_old row per mapping row (its old and new folder),
// then per table its examined and column_width rows (mapping empty) and each mapping row's
// measures:
//
//   table,measure,count,value,related,mapping
//   ,new_under_old,0,C:\Docs\Scans,E:\Scans,1
//   ,new_under_old,0,C:\Docs,E:\Docs,2
//   Docs,examined,1000,,,
//   Docs,will_change,20,,,1
//   Docs,will_change,,C:\Docs\Scans\a.tif,E:\Scans\a.tif,1
//   ...
//
// An earlier report of either form may be replaced by one of either form.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "docpaths/PreflightReport.h"

// The header line of every report file (the pre-flight report, the survey), and that of a
// pre-flight report of several folders.
inline constexpr const char* kReportCsvHeader = "table,measure,count,value,related";
inline constexpr const char* kSeveralReportCsvHeader = "table,measure,count,value,related,mapping";

// The header lines a report file may begin with: an earlier report of either form may be
// replaced by a report of any form.
const std::vector<std::string>& ReportCsvHeaders();

// Text as one CSV field.
std::string CsvField(const std::string& text);

// Appends one row of the report's columns (count as written, the texts as CSV fields), with
// the mapping column when given.
void AppendReportRow(std::string& csv, const std::string& table, const char* measure,
                     const std::string& count, const std::string& value, const std::string& related,
                     const std::optional<std::string>& mapping = std::nullopt);

std::string PreflightReportCsv(const TPreflightReport& report, const std::string& oldPath,
                               const std::string& newPath);

// Refuses, before any work, a path the report may not be written to (app/ReportFile.h: only
// nothing, an empty file or an earlier report is replaced, never in the database folder):
// std::runtime_error naming the path.
void CheckPreflightReportFile(const std::string& path, const std::string& databaseFolder);

// Writes the CSV to path atomically under the same rule: a temporary file beside it, flushed to
// disk, then put in its place; a reader sees the old file or the whole new one.
// std::runtime_error (string sReportFileNotReplaced or sReportInDatabaseFolder refused,
// sReportCannotBeWritten failed) when it cannot, and the temporary file is removed.
void WritePreflightReportCsv(const std::string& path, const TPreflightReport& report,
                             const std::string& oldPath, const std::string& newPath,
                             const std::string& databaseFolder);
