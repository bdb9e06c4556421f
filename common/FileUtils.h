// File helpers: none of them reports failure.
#pragma once

#include <cstdint>
#include <string>

#include "common/TDateTime.h"

// Last modification time as a local date-time; 0 when missing or unreadable.
TDateTime FileDateTime(const std::string& file);
// Size in bytes; 0 when missing.
int64_t FileSizeOf(const std::string& file);
// The file's lines joined with "\r\n" (none after the last); empty when unreadable.
std::string ReadTextFile(const std::string& file);
