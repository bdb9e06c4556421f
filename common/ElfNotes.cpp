#include "common/ElfNotes.h"

#include <elf.h>

#include <cstring>
#include <fstream>

namespace {

class TElfReader {
 public:
  explicit TElfReader(const std::string& file) : in_(file, std::ios::binary) {}

  bool Open() {
    unsigned char ident[EI_NIDENT];
    if (!Read(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0) return false;
    if (ident[EI_CLASS] != ELFCLASS32 && ident[EI_CLASS] != ELFCLASS64) return false;
    if (ident[EI_DATA] != ELFDATA2LSB && ident[EI_DATA] != ELFDATA2MSB) return false;
    is64_ = ident[EI_CLASS] == ELFCLASS64;
    big_ = ident[EI_DATA] == ELFDATA2MSB;
    return true;
  }

  bool Is64() const { return is64_; }

  bool Read(uint64_t at, void* to, size_t size) {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(at));
    in_.read(static_cast<char*>(to), static_cast<std::streamsize>(size));
    return in_.good();
  }

  // Unsigned numbers of 2, 4 or 8 bytes in the file's byte order.
  bool Number(uint64_t at, size_t size, uint64_t& value) {
    unsigned char bytes[8];
    if (size > sizeof bytes || !Read(at, bytes, size)) return false;
    value = Decode(bytes, size);
    return true;
  }

  uint64_t Decode(const unsigned char* bytes, size_t size) const {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i)
      value |= uint64_t(bytes[big_ ? i : size - 1 - i]) << (8 * (size - 1 - i));
    return value;
  }

 private:
  std::ifstream in_;
  bool is64_ = false;
  bool big_ = false;
};

size_t Align4(size_t n) {
  return (n + 3) & ~size_t(3);
}

// Walks one note section's bytes for the note.
bool FindNote(const TElfReader& elf, const std::vector<unsigned char>& data,
              const std::string& name, uint32_t type, std::vector<uint16_t>& values) {
  size_t at = 0;
  while (at + 12 <= data.size()) {
    const uint64_t namesz = elf.Decode(&data[at], 4);
    const uint64_t descsz = elf.Decode(&data[at + 4], 4);
    const uint64_t noteType = elf.Decode(&data[at + 8], 4);
    const size_t nameAt = at + 12;
    if (namesz > data.size() - nameAt) return false;
    const size_t descAt = nameAt + Align4(namesz);
    if (descAt > data.size() || descsz > data.size() - descAt) return false;
    const size_t next = descAt + Align4(descsz);
    const std::string noteName(reinterpret_cast<const char*>(&data[nameAt]),
                               namesz > 0 ? namesz - 1 : 0);
    if (noteType == type && noteName == name && namesz == name.size() + 1) {
      values.clear();
      for (size_t i = 0; i + 2 <= descsz; i += 2)
        values.push_back(static_cast<uint16_t>(elf.Decode(&data[descAt + i], 2)));
      return true;
    }
    at = next;
  }
  return false;
}

}  // namespace

bool ReadElfNote16(const std::string& file, const std::string& name, uint32_t type,
                   std::vector<uint16_t>& values) {
  TElfReader elf(file);
  if (!elf.Open()) return false;
  const bool is64 = elf.Is64();
  // Header fields: section header offset, entry size and count.
  uint64_t shoff = 0, shentsize = 0, shnum = 0;
  if (!elf.Number(is64 ? 0x28 : 0x20, is64 ? 8 : 4, shoff) ||
      !elf.Number(is64 ? 0x3A : 0x2E, 2, shentsize) || !elf.Number(is64 ? 0x3C : 0x30, 2, shnum))
    return false;
  if (shoff == 0 || shentsize < (is64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr))) return false;
  for (uint64_t i = 0; i < shnum; ++i) {
    const uint64_t header = shoff + i * shentsize;
    uint64_t shType = 0, offset = 0, size = 0;
    if (!elf.Number(header + 4, 4, shType)) return false;
    if (shType != SHT_NOTE) continue;
    if (!elf.Number(header + (is64 ? 0x18 : 0x10), is64 ? 8 : 4, offset) ||
        !elf.Number(header + (is64 ? 0x20 : 0x14), is64 ? 8 : 4, size))
      return false;
    if (size > (1u << 20)) continue;  // no note of ours is that large
    std::vector<unsigned char> data(size);
    if (size && !elf.Read(offset, data.data(), size)) return false;
    if (FindNote(elf, data, name, type, values)) return true;
  }
  return false;
}
