// The file --mapping names, read for the replace: its rows of old and new folder, or the
// message that refuses it (a file that cannot be read or is larger than kMaxMappingFileBytes,
// and every fault of its text that FolderMappings.h names, with its line).
#pragma once

#include <cstddef>
#include <string>

#include "docpaths/FolderMappings.h"

inline constexpr size_t kMaxMappingFileBytes = 1024 * 1024;

// True with rows filled; false with refusal filled.
bool ReadMappingFile(const std::string& path, TFolderMappingRows& rows, std::string& refusal);
