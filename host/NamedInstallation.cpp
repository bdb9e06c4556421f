#include "host/NamedInstallation.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/Format.h"
#include "common/PathUtils.h"
#include "common/StrTable.h"
#include "host/SysFolders.h"
#include "platform/Platform.h"
#include "platform/SystemServices.h"

namespace fs = std::filesystem;

namespace {

// What an installation holds: its four folders, and the product's ini file in Utils.
constexpr const char* kInstallationFolders[] = {"DB", "DBSys", "Logs", "Utils"};

// dir made absolute from the current folder, without trailing separators or "." ("CRM/",
// "CRM/." and "CRM" are one folder, shown alike in messages).
fs::path AbsoluteFolder(const std::string& dir) {
  std::error_code error;
  const fs::path absolute = fs::absolute(dir, error);
  std::string text = error ? dir : absolute.string();
  const std::string dot = std::string(1, PathDelim) + ".";
  while (text.size() > 1) {
    if (text.ends_with(dot))
      text.resize(text.size() - dot.size());
    else if (text.back() == PathDelim)
      text.pop_back();
    else
      break;
  }
  return text.empty() ? fs::path(std::string(1, PathDelim)) : fs::path(text);
}

// The message that refuses root as an installation; none when it is one. Links are followed, at
// the root and at each of its parts: administrators mount installations and their folders where
// they like.
std::optional<std::string> Refusal(const fs::path& root) {
  std::error_code error;
  const fs::file_status status = fs::status(root, error);
  if (status.type() == fs::file_type::not_found)
    return Format(LoadStr(sInstallationMissing), {root.string()});
  if (error) return Format(LoadStr(sInstallationUnreadable), {root.string(), error.message()});
  if (!fs::is_directory(status)) return Format(LoadStr(sInstallationNotAFolder), {root.string()});

  std::string missing;
  // Adds path's name to the missing parts unless it is what it should be; false when it cannot be
  // told (error is set).
  const auto check = [&](const fs::path& path, fs::file_type wanted, const std::string& name) {
    const fs::file_status found = fs::status(path, error);
    if (found.type() == wanted) return true;
    if (error && found.type() != fs::file_type::not_found) return false;
    missing += (missing.empty() ? "" : ", ") + name;
    return true;
  };
  for (const char* folder : kInstallationFolders)
    if (!check(root / folder, fs::file_type::directory, folder))
      return Format(LoadStr(sInstallationUnreadable), {(root / folder).string(), error.message()});
  const bool utils = fs::is_directory(root / "Utils", error);  // else it is named already
  const fs::path ini = root / "Utils" / ProgramIniFileName;
  if (utils &&
      !check(ini, fs::file_type::regular, "Utils" + std::string(1, PathDelim) + ProgramIniFileName))
    return Format(LoadStr(sInstallationUnreadable), {ini.string(), error.message()});
  if (!missing.empty()) return Format(LoadStr(sInstallationIncomplete), {root.string(), missing});
  return std::nullopt;
}

}  // namespace

bool UseNamedInstallation(const std::string& given, std::string& message) {
  const bool fromVariable = given.empty();
  const std::string dir =
      fromVariable ? Platform().System().EnvironmentVariable(InstallationVariable) : given;
  if (dir.empty()) {
    if (auto refusal = PackagedProgramRefusal(Platform().System().StartedProgramPath())) {
      message = *refusal;
      return false;
    }
    return true;
  }
  const fs::path root = AbsoluteFolder(dir);
  std::optional<std::string> refusal = Refusal(root);
  // A root that is a link (or lies under one) is resolved here, once: the program works on the
  // folder the link named when it started, even when the link is turned elsewhere meanwhile.
  std::error_code error;
  const fs::path real = refusal ? fs::path() : fs::canonical(root, error);
  if (!refusal && error)
    refusal = Format(LoadStr(sInstallationUnreadable), {root.string(), error.message()});
  if (refusal) {
    message = fromVariable ? Format(LoadStr(sInstallationFromVariable),
                                    {*refusal, std::string(InstallationVariable)})
                           : *refusal;
    return false;
  }
  Platform().System().PlaceProgramIn(AddTrailingPathDelim((real / "Utils").string()));
  FreeSystemFolders();  // found again from the new program folder
  return true;
}

std::optional<std::string> PackagedProgramRefusal(const std::string& programFile) {
  const fs::path folder = fs::path(programFile).parent_path().lexically_normal();
  const std::string packaged = std::string(1, PathDelim) + VRL_PACKAGED_PROGRAM_DIR;
  std::error_code error;
  // A VarnelCRM.ini put beside the packaged programs names the installation, as in any program
  // folder.
  if (!folder.string().ends_with(packaged) || fs::exists(folder / ProgramIniFileName, error))
    return std::nullopt;
  return Format(LoadStr(sInstallationNotNamed),
                {folder.string(), std::string(InstallationVariable)});
}

void LeaveNamedInstallation() {
  Platform().System().PlaceProgramIn({});
  FreeSystemFolders();
}
