// The upgrade check's comparison rules for one file entry, and the file list they build.
// Local files are in the program's folder, sources in LastVerFolder; a missing source is never
// newer.
#pragma once

#include <string>

// Version rule: not newer when both files exist with the same modification time and the local
// file is at least as large as the source; otherwise newer when the source carries a version
// and it is higher than the local one (a missing local file or version reads as 0.0.0.0).
bool IsNewerByVersion(const std::string& localFile, const std::string& sourceFile);
// Date rule: newer when the source was modified later than the local file (a missing local file
// counts as the earliest time).
bool IsNewerByDate(const std::string& localFile, const std::string& sourceFile);

// Separates the file list's entries.
inline constexpr const char* FileListSeparator = "*";
// Joins a local name and its differing source name in one entry.
inline constexpr const char* CopyFilesMarker = "|<VrlUpgrge_CopyFiles>|";

// The list entry of a file: the local name, or local name, CopyFilesMarker and source name when
// the source name differs (compared upper-cased).
std::string FileListEntry(const std::string& localName, const std::string& sourceName);
// Puts the trimmed entry and the separator in front of the trimmed list (the first entry thus
// leaves a final separator) unless the list already holds that entry
// (compared upper-cased); false when it was there.
bool AddToFileList(std::string& fileList, const std::string& entry);
