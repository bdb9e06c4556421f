// Where the product's special log, marker and settings files live, and how a log name becomes a
// log file name.
#pragma once

#include <string>

// The full path of a special file: its folder (DBSys, Logs or Server of the installation) with
// a trailing PathDelim, then FileName unchanged. Names are matched without regard to case; a
// name not in the table, or a path rather than a bare name, gives an empty text.
std::string GetSpecialFilePath(const std::string& FileName);
// "UserLog_<LogName>.TXT"; no character is removed here.
std::string UserLogFileName(const std::string& LogName);
// The file name part of a path without its extension.
std::string FileBaseName(const std::string& Path);
