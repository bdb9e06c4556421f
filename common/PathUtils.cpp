#include "common/PathUtils.h"

#include <filesystem>

namespace {
std::string AddTrailing(const std::string& path, char delim) {
  if (path.empty() || path.back() == delim) return path;
  return path + delim;
}
std::string RemoveTrailing(const std::string& path, char delim) {
  if (!path.empty() && path.back() == delim) return path.substr(0, path.size() - 1);
  return path;
}
}  // namespace

std::string AddTrailingBackslash(const std::string& path) {
  return AddTrailing(path, '\\');
}
std::string RemoveTrailingBackslash(const std::string& path) {
  return RemoveTrailing(path, '\\');
}
std::string AddTrailingPathDelim(const std::string& path) {
  return AddTrailing(path, PathDelim);
}
std::string RemoveTrailingPathDelim(const std::string& path) {
  return RemoveTrailing(path, PathDelim);
}

std::string ParentFolder(const std::string& path) {
  std::string text = RemoveTrailingPathDelim(path);
  auto cut = text.rfind(PathDelim);
  if (cut == std::string::npos) return text;
  return text.substr(0, cut);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return AddTrailingPathDelim(folder) + name;
}

void ForceFolder(const std::string& path) {
  std::error_code ignored;
  if (!path.empty()) std::filesystem::create_directories(path, ignored);
}

std::string ExtractFilePath(const std::string& path) {
  auto cut = path.rfind(PathDelim);
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string ExtractFileName(const std::string& path) {
  auto cut = path.rfind(PathDelim);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ExtractFileExt(const std::string& path) {
  std::string name = ExtractFileName(path);
  auto dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  std::string ext0 = ExtractFileExt(path);
  return path.substr(0, path.size() - ext0.size()) + ext;
}
