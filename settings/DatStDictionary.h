// TDatStDictionary: a hash dictionary of owned items under text keys compared without regard to
// ASCII letter case. Its bucket count is fixed when it is created (PrimeHashSize of the requested
// size) and chains grow as items arrive; nothing is reordered or rehashed. Items are TObjects it
// owns and releases when it is destroyed, through its dispose callback or, without one, as
// objects. Lookups and the destructor never throw: a failure is written to the log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/Classes.h"

// The bucket count for a requested size: the first of the product's primes (59 ... 967) that is
// at least size; size itself above 967.
size_t PrimeHashSize(size_t size);

class TDatStDictionary : public TObject {
 public:
  using TDisposeEvent = std::function<void(TObject* item)>;

  explicit TDatStDictionary(size_t size);
  ~TDatStDictionary() override;
  TDatStDictionary(const TDatStDictionary&) = delete;
  TDatStDictionary& operator=(const TDatStDictionary&) = delete;

  std::string ClassName() const override { return "TDatStDictionary"; }
  std::string UnitName() const override { return "DatStDictionary"; }

  // The item stored under key; false (and item none) when there is none or the look-up failed,
  // a failure being logged as <class name>.GetItemByKey.
  bool GetItemByKey(const std::string& key, TObject*& item) const;
  // The same without logging: a failure leaves as an exception.
  bool FindItem(const std::string& key, TObject*& item) const;

  size_t RequestedSize() const { return size_; }
  size_t BucketCount() const { return buckets_.size(); }
  size_t Count() const { return count_; }

  // Releases a stored item; none set: the item is deleted as an object.
  TDisposeEvent OnDisposeData;

 protected:
  // Stores item under key when the key is new; false when it is present.
  bool Insert(const std::string& key, TObject* item);
  // Releases every item (a failure is logged under the class name + ".destructor" and the rest
  // go on). Each descendant's destructor calls it, so the log names the descendant's class.
  void DisposeAll();

 private:
  struct TEntry {
    std::string key;
    TObject* item;
  };
  size_t BucketOf(const std::string& key) const;
  void DisposeItem(TObject* item);

  size_t size_;
  size_t count_ = 0;
  std::vector<std::vector<TEntry>> buckets_;
};
