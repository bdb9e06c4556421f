// File helpers that reach the platform: an error box for a missing file, a name with the time.
#pragma once

#include <string>

// True when the file exists. When it is missing and showError is set, shows an error box with
// message, or with string-table text sFileNotFound, "\r\n" and the file name when message is empty.
bool CheckFileExists(const std::string& file, bool showError, const std::string& message = {});
// The file name without its extension, "-", the current local time formatted with format
// (FormatDateTime), then the extension: "/x/UserLog_A.TXT" -> "/x/UserLog_A-08122026-140240.TXT".
std::string DatedFileName(const std::string& file, const std::string& format);
