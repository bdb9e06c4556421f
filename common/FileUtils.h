// File helpers: none of them reports failure, except OpenSharedFile (errno). Names are local paths
// (PathDelim).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/TDateTime.h"

// True when the name is an existing entry that is not a folder.
bool FileExists(const std::string& file);
// True when the name is an existing folder.
bool DirectoryExists(const std::string& folder);
// Last modification time as a local date-time; 0 when missing or unreadable.
TDateTime FileDateTime(const std::string& file);
// Size in bytes of the first entry found for the name, which may hold the wildcards "*" and "?"
// in its file name part; 0 when none is found or the entry is a folder.
int64_t FileSizeOf(const std::string& file);
// When the file's size is at least limit bytes, moves it to newName. An existing newName is
// never replaced: the move is refused and the file stays where it is. True when it moved.
bool MoveFileIfLarger(const std::string& file, const std::string& newName, int64_t limit);
// Opens the file for access (O_WRONLY | O_APPEND, O_RDONLY, ...) without following a link at its
// name, creating it when missing, group-writable (0664, whatever the umask says about the group)
// so every user of the installation's group can write to it. created tells whether this very
// open created the file, even when another process removes or creates it at the same moment.
// The descriptor (close-on-exec), or -1 with errno set: ELOOP for a link, ENOENT, EACCES...
int OpenSharedFile(const std::string& file, int access, bool& created);
// The file's lines joined with "\r\n" (none after the last); empty when unreadable.
std::string ReadTextFile(const std::string& file);
// True when the folder holds no file (subfolders do not count; a missing folder holds none).
bool IsFolderEmpty(const std::string& folder);
// Appends every file of the folder (subfolders skipped) whose name matches mask ("*" and "?",
// letter case ignored as on Windows; "*.*" matches every name) to list, sorted by name: as
// JoinPath(folder, name) when withFolder is set, else the name alone.
void ListFolderFiles(const std::string& folder, const std::string& mask, bool withFolder,
                     std::vector<std::string>& list);
// True when name matches the Windows-style mask ("*", "?", letter case ignored).
bool MatchesMask(const std::string& name, const std::string& mask);
