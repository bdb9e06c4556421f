// The token table of the catalogue (PrefCatalogue.def): which token fills which field of which
// record, with the field's kind, and the reset routines that set the records' defaults.
#pragma once

#include <span>

#include "settings/PrefRecords.h"
#include "settings/PrefValue.h"

struct TPrefCatalogueEntry {
  const char* Name;    // the token name; "GEN_HELP_LINKS_%S" is formatted before comparing
  const char* Record;  // the record's type name
  TPrefKind Kind;
  bool Reset;  // false: a starred field, which keeps its value from the previous load
  // Converts value to the field's kind and stores it (EVariantError when it does not convert).
  void (*Store)(TPrefRecords& records, const TPrefValue& value);
};

// Every token in catalogue order: record by record in the store's order, fields in order.
std::span<const TPrefCatalogueEntry> PrefCatalogue();

// Whether the record is reset at all (false for the records marked Kept).
template <typename R>
constexpr bool PrefRecordIsReset();

// Sets the fields without a star to their defaults, one record after the other in the reset
// order; Kept records and starred fields keep their values.
void ResetPrefRecords(TPrefRecords& records);

#define VRL_PREF_IS_RESET_Reset true
#define VRL_PREF_IS_RESET_Kept false
#define VRL_PREF_RECORD_IS_RESET(rec, resetFlag) \
  template <>                                    \
  constexpr bool PrefRecordIsReset<rec>() {      \
    return VRL_PREF_IS_RESET_##resetFlag;        \
  }
VRL_PREF_RECORDS(VRL_PREF_RECORD_IS_RESET)
#undef VRL_PREF_RECORD_IS_RESET
