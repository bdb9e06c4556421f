#include "platform/engine/driver/EngineDriver.h"

#include "platform/engine/postgres/PgAceDriver.h"
#include "platform/engine/sqlite/SqliteAceDriver.h"

namespace {

class TEngineDriver : public TAceDriver {
 public:
  explicit TEngineDriver(std::unique_ptr<TAceDriver> remote)
      : local_(CreateSqliteAceDriver()), remote_(std::move(remote)) {}
  std::unique_ptr<TAceConnection> Connect(const std::string& path,
                                          TAdsServerType serverType) override {
    return (serverType == TAdsServerType::stADS_REMOTE ? remote_ : local_)
        ->Connect(path, serverType);
  }
  TAceVersion Version() override { return local_->Version(); }

 private:
  std::unique_ptr<TAceDriver> local_;
  std::unique_ptr<TAceDriver> remote_;
};

}  // namespace

std::unique_ptr<TAceDriver> CreateEngineDriver() {
  return std::make_unique<TEngineDriver>(CreatePgAceDriver());
}

std::unique_ptr<TAceDriver> CreateEngineDriver(const std::string& remoteConninfo) {
  return std::make_unique<TEngineDriver>(CreatePgAceDriver(remoteConninfo));
}
