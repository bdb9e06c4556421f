#include "db/OtherStations.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/CrmTestInstall.h"
#include "tests/support/HolderStation.h"

namespace {

bool ExclusiveOpenSucceeds(const TCrmTestInstall& install) {
  TAceTableOptions exclusive;
  exclusive.Exclusive = true;
  try {
    install.Open()->OpenTable("SysLock.adt", exclusive);
    return true;
  } catch (const EADSDatabaseError&) {
    return false;
  }
}

class OtherStations : public ::testing::Test {
 protected:
  TCrmTestInstall install;
};

}  // namespace

TEST_F(OtherStations, NoneBeforeTheMainConnectionExists) {
  EXPECT_EQ(CountOtherStations(), std::nullopt);
}

TEST_F(OtherStations, ThisStationAloneCountsNone) {
  ASSERT_TRUE(CheckSysLock(false));
  EXPECT_EQ(CountOtherStations(), 0);
  // A second open of the lock table in this process is still this station.
  auto db = install.Open();
  auto again = db->OpenTable("SysLock.adt", {});
  EXPECT_EQ(CountOtherStations(), 0);
}

TEST_F(OtherStations, CountsTwoThenThreeHolderProcesses) {
  ASSERT_TRUE(CheckSysLock(false));
  std::vector<std::unique_ptr<THolderStation>> stations;
  for (int i = 0; i < 2; ++i) stations.push_back(std::make_unique<THolderStation>(install));
  EXPECT_EQ(CountOtherStations(), 2);
  stations.push_back(std::make_unique<THolderStation>(install));
  EXPECT_EQ(CountOtherStations(), 3);
  // Counting took nothing from them: they still hold the table, and are counted again.
  EXPECT_FALSE(ExclusiveOpenSucceeds(install));
  EXPECT_EQ(CountOtherStations(), 3);

  stations[1]->Stop();  // leaves a free slot between two held ones
  EXPECT_EQ(CountOtherStations(), 2);
  stations.push_back(std::make_unique<THolderStation>(install));  // takes the free slot
  EXPECT_EQ(CountOtherStations(), 3);
  stations[0]->Kill();  // a station that dies frees its slot with its open file
  stations[2]->Kill();
  EXPECT_EQ(CountOtherStations(), 1);
  stations[3]->Stop();
  EXPECT_EQ(CountOtherStations(), 0);
  EXPECT_FALSE(ExclusiveOpenSucceeds(install));  // this station still holds it
}

TEST_F(OtherStations, CountedAlsoWhenThisStationDoesNotHoldTheTable) {
  ASSERT_TRUE(MainConnectionIsOpen());
  THolderStation first(install);
  THolderStation second(install);
  EXPECT_FALSE(SysLockIsOpen());
  EXPECT_EQ(CountOtherStations(), 2);
}

TEST_F(OtherStations, AnEngineThatCannotTellCountsNone) {
  // The remote engine reports no count until it counts its sessions.
  class TSilentConnection : public TAceConnection {
   public:
    explicit TSilentConnection(std::unique_ptr<TAceConnection> inner) : inner_(std::move(inner)) {}
    std::string ConnectionType() const override { return "Remote"; }
    std::unique_ptr<TAceCursor> OpenTable(const std::string& name,
                                          const TAceTableOptions& options) override {
      return inner_->OpenTable(name, options);
    }
    std::unique_ptr<TAceCursor> OpenQuery(const std::string& sql,
                                          const TAceParams& params) override {
      return inner_->OpenQuery(sql, params);
    }
    int64_t ExecSQL(const std::string& sql, const TAceParams& params) override {
      return inner_->ExecSQL(sql, params);
    }
    void CloseCachedTables() override {}

   private:
    std::unique_ptr<TAceConnection> inner_;
  };
  class TSilentDriver : public TAceDriver {
   public:
    std::unique_ptr<TAceConnection> Connect(const std::string& path, TAdsServerType) override {
      return std::make_unique<TSilentConnection>(
          CreateSqliteAceDriver()->Connect(path, TAdsServerType::stADS_LOCAL));
    }
    TAceVersion Version() override { return {11, 10, ' '}; }
  };
  Platform().SetEngine(std::make_unique<TSilentDriver>());
  THolderStation other(install);
  ASSERT_TRUE(MainConnectionIsOpen());
  EXPECT_EQ(CountOtherStations(), std::nullopt);
}
