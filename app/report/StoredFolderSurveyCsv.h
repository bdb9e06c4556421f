// The survey of the stored folders (docpaths/StoredFolderSurvey.h) as a report file: the columns,
// the quoting and the file rule of the pre-flight report (app/report/ReportCsv.h), so either
// report may replace the other. After the header, the depth, then per table (Docs, Cards, Pref)
// the values read, one row per leading folder, most records first, its count and the folder in
// the spelling stored most often, and one row per kind of value that is no absolute path
// ("empty", "url", "relative", "no path"; only those that occur):
//
//   table,measure,count,value,related
//   ,survey_depth,2,,
//   Docs,examined,1000,,
//   Docs,stored_folder,920,C:\VarnelDocs,
//   Docs,stored_folder,10,\\fs1\C$\VarnelDocs,
//   Docs,stored_kind,20,empty,
#pragma once

#include <string>

#include "docpaths/StoredFolderSurvey.h"

std::string StoredFolderSurveyCsv(const TStoredFolderSurvey& survey);

// Writes the CSV to path as WritePreflightReportCsv writes its report (atomically, refusing
// what a report may not replace, never in the database folder); std::runtime_error when it
// cannot. CheckPreflightReportFile checks the path beforehand.
void WriteStoredFolderSurveyCsv(const std::string& path, const TStoredFolderSurvey& survey,
                                const std::string& databaseFolder);
