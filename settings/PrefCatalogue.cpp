#include "settings/PrefCatalogue.h"

#include <array>

namespace {

// How many tokens the catalogue holds.
#define VRL_COUNT_TOKEN(...) +1
#define VRL_COUNT_DERIVED(...)
#define VRL_COUNT_RECORD(rec, resetFlag) \
  VRL_PREF_FIELDS_##rec(VRL_COUNT_TOKEN, VRL_COUNT_TOKEN, VRL_COUNT_DERIVED)
constexpr size_t kTokenCount = 0 VRL_PREF_RECORDS(VRL_COUNT_RECORD);
#undef VRL_COUNT_RECORD

#define VRL_FIELD_IS_RESET_R true
#define VRL_FIELD_IS_RESET_K false

// One entry per token; R is the record being listed.
#define VRL_ENTRY_N(field, token, kind, resetMark, ...)                             \
  table[n++] = {token, recordName, TPrefKind::kind, VRL_FIELD_IS_RESET_##resetMark, \
                [](TPrefRecords& records, const TPrefValue& value) {                \
                  StorePrefValue<TPrefKind::kind>(records.Get<R>().field, value);   \
                }};
#define VRL_ENTRY_X(token, kind, resetMark, ...) \
  VRL_ENTRY_N(token, #token, kind, resetMark __VA_OPT__(, ) __VA_ARGS__)
#define VRL_ENTRY_RECORD(rec, resetFlag)                               \
  {                                                                    \
    using R = rec;                                                     \
    constexpr const char* recordName = #rec;                           \
    VRL_PREF_FIELDS_##rec(VRL_ENTRY_X, VRL_ENTRY_N, VRL_COUNT_DERIVED) \
  }

constexpr std::array<TPrefCatalogueEntry, kTokenCount> BuildCatalogue() {
  std::array<TPrefCatalogueEntry, kTokenCount> table{};
  size_t n = 0;
  VRL_PREF_RECORDS(VRL_ENTRY_RECORD)
  return table;
}
#undef VRL_ENTRY_RECORD
#undef VRL_ENTRY_X
#undef VRL_ENTRY_N

constexpr std::array<TPrefCatalogueEntry, kTokenCount> kCatalogue = BuildCatalogue();

// The reset routine of each record: the fields marked R get their default.
#define VRL_RESET_FIELD_R(field, kind, ...) \
  record.field = TPrefFieldType<TPrefKind::kind>{__VA_ARGS__};
#define VRL_RESET_FIELD_K(...)
#define VRL_RESET_N(field, token, kind, resetMark, ...) \
  VRL_RESET_FIELD_##resetMark(field, kind __VA_OPT__(, ) __VA_ARGS__)
#define VRL_RESET_X(token, kind, resetMark, ...) \
  VRL_RESET_N(token, #token, kind, resetMark __VA_OPT__(, ) __VA_ARGS__)
#define VRL_RESET_ROUTINE(rec, resetFlag)                              \
  [[maybe_unused]] void Reset##rec(rec& record) {                      \
    VRL_PREF_FIELDS_##rec(VRL_RESET_X, VRL_RESET_N, VRL_COUNT_DERIVED) \
  }
VRL_PREF_RECORDS(VRL_RESET_ROUTINE)
#undef VRL_RESET_ROUTINE
#undef VRL_RESET_X
#undef VRL_RESET_N

// The reset order names every record that is reset, once, and no other.
#define VRL_COUNT_RESET_RECORD(rec, resetFlag) +(VRL_PREF_IS_RESET_##resetFlag ? 1 : 0)
#define VRL_CHECK_RESET_ORDER(rec) \
  static_assert(PrefRecordIsReset<rec>(), #rec " is marked Kept but listed for reset");
VRL_PREF_RESET_ORDER(VRL_CHECK_RESET_ORDER)
static_assert((0 VRL_PREF_RESET_ORDER(VRL_COUNT_TOKEN)) ==
                  (0 VRL_PREF_RECORDS(VRL_COUNT_RESET_RECORD)),
              "every record marked Reset is listed once in VRL_PREF_RESET_ORDER");
#undef VRL_CHECK_RESET_ORDER
#undef VRL_COUNT_RESET_RECORD

}  // namespace

std::span<const TPrefCatalogueEntry> PrefCatalogue() {
  return kCatalogue;
}

void ResetPrefRecords(TPrefRecords& records) {
#define VRL_RESET_RECORD(rec) Reset##rec(records.Get<rec>());
  VRL_PREF_RESET_ORDER(VRL_RESET_RECORD)
#undef VRL_RESET_RECORD
}
