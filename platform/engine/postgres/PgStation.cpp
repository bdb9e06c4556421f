#include "platform/engine/postgres/PgStation.h"

#include <unistd.h>

#include <atomic>

namespace {
// The server keeps NAMEDATALEN - 1 bytes of an application name.
constexpr size_t kNameBytes = 63;
// Numbers the connections of this process; no resource behind it.
constinit std::atomic<unsigned> connectionsMade{0};
}  // namespace

std::string PgNewStationName() {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  std::string name = std::string(PgStationPrefix) + std::to_string(getpid()) + "." +
                     std::to_string(++connectionsMade) + " ";
  // The server would replace other bytes itself; doing it here keeps every session's name alike.
  for (const char* c = host; *c; ++c) name += (*c >= 0x20 && *c < 0x7F) ? *c : '?';
  if (name.size() > kNameBytes) name.resize(kNameBytes);
  return name;
}

int64_t PgServerLockKey(const std::string& name) {
  // FNV-1a, 64 bits: fixed by its definition, so every station computes the same key.
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : name) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return static_cast<int64_t>(hash);
}
