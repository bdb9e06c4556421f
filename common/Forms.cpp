#include "common/Forms.h"

#include <algorithm>
#include <mutex>

namespace {
std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}
std::vector<TDataModule*>& Registry() {
  static std::vector<TDataModule*> modules;
  return modules;
}
}  // namespace

TDataModule::TDataModule(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {
  std::lock_guard guard(RegistryLock());
  Registry().push_back(this);
}

TDataModule::~TDataModule() {
  std::lock_guard guard(RegistryLock());
  auto& modules = Registry();
  modules.erase(std::remove(modules.begin(), modules.end(), this), modules.end());
}

std::vector<TDataModule*> DataModules() {
  std::lock_guard guard(RegistryLock());
  return Registry();
}

const TForm* GetParentForm(const TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<const TForm*>(control);
}
