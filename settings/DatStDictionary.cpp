#include "settings/DatStDictionary.h"

#include <algorithm>
#include <array>
#include <exception>

#include "common/SysUtils.h"
#include "log/EventLog.h"

size_t PrimeHashSize(size_t size) {
  static constexpr std::array<size_t, 47> kPrimes = {
      59,  61,  67,  71,  73,  127, 131, 137, 191, 193, 197, 199, 251, 257, 263, 311,
      313, 317, 379, 383, 389, 439, 443, 449, 457, 503, 509, 521, 569, 571, 577, 631,
      641, 643, 647, 701, 709, 761, 769, 773, 823, 827, 829, 839, 887, 953, 967};
  auto prime = std::lower_bound(kPrimes.begin(), kPrimes.end(), size);
  return prime == kPrimes.end() ? size : *prime;
}

TDatStDictionary::TDatStDictionary(size_t size) : size_(size), buckets_(PrimeHashSize(size)) {}

TDatStDictionary::~TDatStDictionary() {
  DisposeAll();
}

void TDatStDictionary::DisposeAll() {
  for (auto& bucket : buckets_) {
    for (auto& entry : bucket) {
      try {
        DisposeItem(entry.item);
      } catch (const std::exception& e) {
        LogEventEx(this, ClassName() + ".destructor", "", &e);
      }
    }
    bucket.clear();
  }
  count_ = 0;
}

void TDatStDictionary::DisposeItem(TObject* item) {
  if (OnDisposeData)
    OnDisposeData(item);
  else
    delete item;
}

size_t TDatStDictionary::BucketOf(const std::string& key) const {
  return std::hash<std::string>{}(UpperCase(key)) % buckets_.size();
}

bool TDatStDictionary::FindItem(const std::string& key, TObject*& item) const {
  item = nullptr;
  for (const auto& entry : buckets_[BucketOf(key)]) {
    if (SameText(entry.key, key)) {
      item = entry.item;
      return true;
    }
  }
  return false;
}

bool TDatStDictionary::GetItemByKey(const std::string& key, TObject*& item) const {
  try {
    return FindItem(key, item);
  } catch (const std::exception& e) {
    LogEventEx(this, ClassName() + ".GetItemByKey", key, &e);
    item = nullptr;
    return false;
  }
}

bool TDatStDictionary::Insert(const std::string& key, TObject* item) {
  TObject* present = nullptr;
  if (FindItem(key, present)) return false;
  buckets_[BucketOf(key)].push_back({key, item});
  ++count_;
  return true;
}
