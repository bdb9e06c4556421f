#include "common/Forms.h"

#include <algorithm>
#include <mutex>

namespace {
// Lists, not owners: constant-initialised, so they are in place before any data module is made
// and outlive every one. The program units free the data modules before the process ends, and
// the list gives its memory back with the last one: nothing of it is left at exit.
constinit std::mutex registryLock;
constinit std::vector<TDataModule*> registry;

std::mutex& RegistryLock() {
  return registryLock;
}
std::vector<TDataModule*>& Registry() {
  return registry;
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
  if (modules.empty()) std::vector<TDataModule*>().swap(modules);
}

std::vector<TDataModule*> DataModules() {
  std::lock_guard guard(RegistryLock());
  return Registry();
}

const TForm* GetParentForm(const TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<const TForm*>(control);
}
