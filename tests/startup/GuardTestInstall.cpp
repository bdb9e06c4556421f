#include "tests/startup/GuardTestInstall.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "common/FormatSettings.h"
#include "host/FormatSetup.h"
#include "host/SysFolders.h"
#include "log/LogHook.h"
#include "platform/Platform.h"
#include "startup/StartUpGuard.h"

namespace fs = std::filesystem;

std::vector<std::pair<std::string, std::string>> TGuardTestInstall::Traces;

namespace {
void RecordTrace(const std::string& name, const std::string& text) {
  TGuardTestInstall::Traces.emplace_back(name, text);
}
}  // namespace

TGuardTestInstall::TGuardTestInstall(const std::string& program) {
  root_ = temp_.Path() / "CRM";
  for (const char* folder : {"Utils", "DB", "DBSys", "LastVer", "TmpVarnel"})
    fs::create_directories(root_ / folder);
  auto ui = std::make_unique<TFakeUi>();
  auto system = std::make_unique<TFakeSystem>();
  Ui = ui.get();
  System = system.get();
  Platform().SetUi(std::move(ui));
  Platform().SetSystem(std::move(system));
  Traces.clear();
  LogHook = RecordTrace;
  SetProgram(program);
  InitFormatSettings();
}

TGuardTestInstall::~TGuardTestInstall() {
  ReleaseStartUpGuard();
  LogHook = nullptr;
  Platform().Reset();
}

void TGuardTestInstall::SetProgram(const std::string& program, const std::string& module) {
  System->ProgramFile = Path(program);
  System->ModulePath = Path(module.empty() ? program : module);
  LoadSystemFolderDefaults();
}

void TGuardTestInstall::Write(const std::string& relative, const std::string& text) const {
  fs::create_directories((root_ / relative).parent_path());
  std::ofstream(root_ / relative, std::ios::binary) << text;
}

void WriteElfWithVersion(const std::string& file, const std::vector<uint16_t>& version,
                         size_t padTo) {
  // Layout: ELF header, the note section's bytes, then the section headers (none and the note).
  std::string note;
  if (!version.empty()) {
    const uint32_t header[3] = {7, static_cast<uint32_t>(2 * version.size()), 1};
    note.append(reinterpret_cast<const char*>(header), sizeof header);
    note.append("Varnel\0\0", 8);
    note.append(reinterpret_cast<const char*>(version.data()), 2 * version.size());
  }
  Elf64_Ehdr ehdr{};
  std::memcpy(ehdr.e_ident, ELFMAG, SELFMAG);
  ehdr.e_ident[EI_CLASS] = ELFCLASS64;
  ehdr.e_ident[EI_DATA] = ELFDATA2LSB;
  ehdr.e_ident[EI_VERSION] = EV_CURRENT;
  ehdr.e_type = ET_DYN;
  ehdr.e_version = EV_CURRENT;
  ehdr.e_ehsize = sizeof ehdr;
  ehdr.e_shoff = sizeof ehdr + note.size();
  ehdr.e_shentsize = sizeof(Elf64_Shdr);
  ehdr.e_shnum = 2;
  Elf64_Shdr sections[2]{};
  sections[1].sh_type = SHT_NOTE;
  sections[1].sh_offset = sizeof ehdr;
  sections[1].sh_size = note.size();
  std::string bytes(reinterpret_cast<const char*>(&ehdr), sizeof ehdr);
  bytes += note;
  bytes.append(reinterpret_cast<const char*>(sections), sizeof sections);
  if (bytes.size() < padTo) bytes.resize(padTo, '\0');
  std::ofstream(file, std::ios::binary) << bytes;
}

void SetFileTime(const std::string& file, int seconds) {
  static const fs::file_time_type base = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(file, base + std::chrono::seconds(seconds));
}
