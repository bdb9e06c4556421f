// The 24 preference records, expanded from the catalogue (PrefCatalogue.def): their fields in
// catalogue order with the kinds the catalogue gives. A new record is all empty, 0 and false;
// the defaults are set by ResetPrefRecords.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "settings/PrefCatalogue.def"

// Field kinds, as the catalogue writes them.
enum class TPrefKind : uint8_t {
  t,  // text
  i,  // 32-bit signed integer
  e,  // 8-bit integer (an enumeration)
  b,  // boolean
  f,  // 64-bit float
  s,  // fixed text of at most 255 characters
};

// The most characters a fixed text (kind s, and the derived CoinEValue) keeps.
inline constexpr size_t kPrefFixedTextChars = 255;

// The C++ type of a field of kind K: t and s are texts (s is cut at 255 characters when stored).
template <TPrefKind K>
using TPrefFieldType = std::conditional_t<
    K == TPrefKind::i, int32_t,
    std::conditional_t<
        K == TPrefKind::e, uint8_t,
        std::conditional_t<K == TPrefKind::b, bool,
                           std::conditional_t<K == TPrefKind::f, double, std::string>>>>;

#define VRL_PREF_MEMBER_X(name, kind, ...) TPrefFieldType<TPrefKind::kind> name{};
#define VRL_PREF_MEMBER_N(name, token, kind, ...) TPrefFieldType<TPrefKind::kind> name{};
#define VRL_PREF_MEMBER_D(name, kind) TPrefFieldType<TPrefKind::kind> name{};
#define VRL_PREF_STRUCT(rec, resetFlag)                                                 \
  struct rec {                                                                          \
    VRL_PREF_FIELDS_##rec(VRL_PREF_MEMBER_X, VRL_PREF_MEMBER_N, VRL_PREF_MEMBER_D) bool \
    operator==(const rec&) const = default;                                             \
  };
VRL_PREF_RECORDS(VRL_PREF_STRUCT)
#undef VRL_PREF_STRUCT
#undef VRL_PREF_MEMBER_X
#undef VRL_PREF_MEMBER_N
#undef VRL_PREF_MEMBER_D

// All records of the store, reached by type: Records.Get<TDocPref>().
struct TPrefRecords {
#define VRL_PREF_RECORD_MEMBER(rec, resetFlag) rec rec##Rec;
  VRL_PREF_RECORDS(VRL_PREF_RECORD_MEMBER)
#undef VRL_PREF_RECORD_MEMBER

  template <typename R>
  R& Get();
  template <typename R>
  const R& Get() const {
    return const_cast<TPrefRecords*>(this)->Get<R>();
  }
};

#define VRL_PREF_RECORD_GET(rec, resetFlag) \
  template <>                               \
  inline rec& TPrefRecords::Get<rec>() {    \
    return rec##Rec;                        \
  }
VRL_PREF_RECORDS(VRL_PREF_RECORD_GET)
#undef VRL_PREF_RECORD_GET
