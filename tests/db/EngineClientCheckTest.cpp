#include "db/EngineClientCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/StrTable.h"
#include "tests/support/CrmTestInstall.h"

namespace {

// The SQLite engine reporting another version, or failing to tell one.
class TVersionedEngine : public TAceDriver {
 public:
  TVersionedEngine(uint32_t major, uint32_t minor) : version_{major, minor, ' '} {}
  std::unique_ptr<TAceConnection> Connect(const std::string& path, TAdsServerType type) override {
    return CreateSqliteAceDriver()->Connect(path, type);
  }
  TAceVersion Version() override {
    ++Asked;
    return version_;
  }
  int Asked = 0;

 private:
  TAceVersion version_;
};

class EngineClientCheck : public ::testing::Test {
 protected:
  TVersionedEngine& UseVersion(uint32_t major, uint32_t minor) {
    auto engine = std::make_unique<TVersionedEngine>(major, minor);
    TVersionedEngine& ref = *engine;
    Platform().SetEngine(std::move(engine));
    return ref;
  }
  std::string Tail() const { return "\r\n\r\n(" + install.Path("Utils/VrlChangeDocsPath") + ")"; }
  TCrmTestInstall install;
};

}  // namespace

TEST_F(EngineClientCheck, AllFilesAndTheRequiredVersionPass) {
  std::string message;
  EXPECT_TRUE(CheckEngineClient(message));
  EXPECT_EQ(message, "11.10");
}

TEST_F(EngineClientCheck, OtherVersionsAreRefusedAsOlderWithTwoDigitMinor) {
  std::string message;
  UseVersion(11, 2);
  EXPECT_EQ(EngineVersionText(), "11.02");
  EXPECT_FALSE(CheckEngineClient(message));
  EXPECT_EQ(message,
            "A database engine version mismatch was detected.\r\nThe required version is 11.10."
            "\r\nAn older version, 11.02, is present.\r\n" +
                Tail());
  UseVersion(12, 0);  // newer is refused the same way
  EXPECT_FALSE(CheckEngineClient(message));
  EXPECT_NE(message.find("An older version, 12.00, is present."), std::string::npos);
}

TEST_F(EngineClientCheck, MissingFilesAreListedInTableOrderBeforeAnyVersionCheck) {
  std::filesystem::remove(install.Path("Utils/Ansi.chr"));
  std::filesystem::remove(install.Path("Utils/adsloc32.dll"));
  TVersionedEngine& engine = UseVersion(11, 10);
  std::string missing;
  EXPECT_FALSE(FindMissingEngineFiles(install.Path("Utils/"), missing));
  EXPECT_EQ(missing, "\n\radsloc32.dll\n\rAnsi.chr");
  std::string message;
  EXPECT_FALSE(CheckEngineClient(message));
  EXPECT_EQ(message, "VrlChangeDocsPath operation stopped.\r\n\r\nFolder:\r\n" +
                         install.Path("Utils/") +
                         "\r\n\r\nMissing Files:\r\nadsloc32.dll\n\rAnsi.chr" + Tail());
  EXPECT_EQ(engine.Asked, 0);
}
