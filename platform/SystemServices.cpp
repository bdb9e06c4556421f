#include "platform/SystemServices.h"

#include <filesystem>

namespace {

// file under its own name in the placement folder; as it is without one.
std::string Placed(const std::string& placement, const std::string& file) {
  if (placement.empty()) return file;
  return placement + std::filesystem::path(file).filename().string();
}

}  // namespace

std::string TSystemServices::ModuleFileName() {
  return Placed(placement_, StartedModuleFile());
}

std::string TSystemServices::ProgramPath() {
  return Placed(placement_, StartedProgramFile());
}
