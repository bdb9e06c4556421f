#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "settings/DatManualKeyDictionary.h"
#include "tests/support/CrmTestInstall.h"

namespace {

// An item that counts its own destruction.
struct TCounted : TObject {
  explicit TCounted(int& freed) : freed_(freed) {}
  ~TCounted() override { ++freed_; }
  std::string ClassName() const override { return "TCounted"; }
  int& freed_;
};

std::unique_ptr<TObject> Counted(int& freed) {
  return std::make_unique<TCounted>(freed);
}

}  // namespace

TEST(DatStDictionary, BucketCountFollowsThePrimeTable) {
  const struct {
    size_t requested, buckets;
  } cases[] = {{0, 59},    {59, 59},   {60, 61},   {74, 127},  {300, 311},  {311, 311},
               {312, 313}, {890, 953}, {967, 967}, {968, 968}, {5000, 5000}};
  for (const auto& c : cases) {
    EXPECT_EQ(PrimeHashSize(c.requested), c.buckets) << c.requested;
    EXPECT_EQ(TDatManualKeyDictionary(c.requested).BucketCount(), c.buckets) << c.requested;
  }
}

TEST(DatStDictionary, KeysIgnoreCaseAndTheFirstItemOfAKeyStays) {
  int freed = 0;
  {
    TDatManualKeyDictionary dictionary(300);
    auto first = Counted(freed);
    TObject* stored = first.get();
    EXPECT_TRUE(dictionary.Add("Gen_Lang", first));
    EXPECT_EQ(first, nullptr);  // the dictionary owns it now

    auto second = Counted(freed);
    EXPECT_FALSE(dictionary.Add("GEN_LANG", second));
    ASSERT_NE(second, nullptr);  // refused: still the caller's
    second.reset();
    EXPECT_EQ(freed, 1);

    for (const char* key : {"gen_lang", "GEN_LANG", "Gen_Lang"}) {
      TObject* item = nullptr;
      EXPECT_TRUE(dictionary.GetItemByKey(key, item)) << key;
      EXPECT_EQ(item, stored) << key;
    }
    TObject* item = stored;
    EXPECT_FALSE(dictionary.GetItemByKey("GEN_LANGUAGE", item));
    EXPECT_EQ(item, nullptr);

    // Many more keys than buckets: every one still found in its chain.
    for (int i = 0; i < 2000; ++i) {
      auto more = Counted(freed);
      ASSERT_TRUE(dictionary.Add("REC" + std::to_string(i), more));
    }
    EXPECT_EQ(dictionary.Count(), 2001u);
    for (int i = 0; i < 2000; i += 97)
      EXPECT_TRUE(dictionary.FindItem("rec" + std::to_string(i), item)) << i;
    EXPECT_EQ(freed, 1);
  }
  EXPECT_EQ(freed, 2002);  // the destructor freed every stored item, as objects
}

TEST(DatStDictionary, TheDestructorDisposesEveryItemAndLogsAFailure) {
  TCrmTestInstall install;
  int freed = 0;
  std::vector<std::string> disposed;
  {
    TDatManualKeyDictionary dictionary(59);
    for (const char* key : {"A", "B", "C"}) {
      auto item = Counted(freed);
      dictionary.Add(key, item);
    }
    dictionary.OnDisposeData = [&](TObject* item) {
      disposed.push_back("item");
      delete item;
      if (disposed.size() == 2) throw std::runtime_error("dispose refused");
    };
  }
  EXPECT_EQ(disposed.size(), 3u);  // destruction went on after the failure
  EXPECT_EQ(freed, 3);
  const std::string log = install.LogText();
  EXPECT_NE(log.find("TDatManualKeyDictionary.destructor"), std::string::npos) << log;
  EXPECT_NE(log.find("dispose refused"), std::string::npos) << log;
}
