// Path helpers. Two kinds of path text, never mixed:
//  - stored paths (document paths and card folders in the database, and what the user types)
//    are Windows paths: AddTrailingBackslash and RemoveTrailingBackslash always use '\';
//  - local folders of the installation use the native separator PathDelim.
#pragma once

#include <string>

inline constexpr char PathDelim = '/';

// Stored paths: appends '\' unless the text ends with one; an empty text stays empty.
std::string AddTrailingBackslash(const std::string& path);
// Stored paths: removes one final '\' if present; an empty text stays empty.
std::string RemoveTrailingBackslash(const std::string& path);

// Local folders: appends PathDelim unless the text ends with one; an empty text stays empty.
std::string AddTrailingPathDelim(const std::string& path);
// Local folders: removes one final PathDelim if present.
std::string RemoveTrailingPathDelim(const std::string& path);
// Removes one final PathDelim, then cuts the text at its last PathDelim (which goes too); a text
// without any is returned as it is after the first step.
std::string ParentFolder(const std::string& path);
// folder + PathDelim + name, without doubling a final PathDelim; an empty folder gives name.
std::string JoinPath(const std::string& folder, const std::string& name);
// Creates the folder with any missing parents; failure is not reported.
void ForceFolder(const std::string& path);
// The folder part of a file path, with a trailing PathDelim (empty when there is none).
std::string ExtractFilePath(const std::string& path);
// The file name part of a path.
std::string ExtractFileName(const std::string& path);
// The extension with its dot ("" when none).
std::string ExtractFileExt(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);
