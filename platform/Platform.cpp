#include "platform/Platform.h"

#include <stdexcept>

#include "platform/AceDriver.h"
#include "platform/SystemServices.h"
#include "platform/UiServices.h"

namespace {
template <typename T>
T& Need(const std::unique_ptr<T>& service, const char* what) {
  if (!service) throw std::logic_error(std::string("platform service not set: ") + what);
  return *service;
}
}  // namespace

TUiServices& TPlatform::Ui() const {
  return Need(ui_, "user interface");
}
TSystemServices& TPlatform::System() const {
  return Need(system_, "system");
}
TAceDriver& TPlatform::Engine() const {
  return Need(engine_, "database engine");
}

void TPlatform::SetUi(std::unique_ptr<TUiServices> ui) {
  ui_ = std::move(ui);
}
void TPlatform::SetSystem(std::unique_ptr<TSystemServices> system) {
  system_ = std::move(system);
}
void TPlatform::SetEngine(std::unique_ptr<TAceDriver> engine) {
  engine_ = std::move(engine);
}

void TPlatform::Reset() {
  ui_.reset();
  engine_.reset();
  system_.reset();
}

TPlatform::~TPlatform() = default;

namespace {
// Constant-initialised: in place before anything runs; the program entry empties it at the end.
constinit TPlatform holder;
}  // namespace

TPlatform& Platform() {
  return holder;
}
