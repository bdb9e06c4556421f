// Reading notes from ELF files (32- or 64-bit, either byte order) through their section
// headers: every SHT_NOTE section is walked entry by entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// True and the description of the first note with that name and type, read as 16-bit numbers
// in the file's byte order. False when the file cannot be read, is no ELF file, is cut short,
// or holds no such note.
bool ReadElfNote16(const std::string& file, const std::string& name, uint32_t type,
                   std::vector<uint16_t>& values);
