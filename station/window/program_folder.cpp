#include "station/window/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>

namespace zek {
namespace {

namespace fs = std::filesystem;

std::string FolderOf(const fs::path& file) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec);
  if (ec) return {};
  std::string folder = absolute.lexically_normal().parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string ProgramFolder(const std::string& program_path, const char* search_path) {
  if (program_path.empty()) return {};
  if (program_path.find('/') != std::string::npos) return FolderOf(program_path);
  if (search_path == nullptr) return {};
  std::string_view rest = search_path;
  while (true) {
    const size_t colon = rest.find(':');
    const std::string_view entry = rest.substr(0, colon);
    const std::string candidate = (entry.empty() ? std::string(".") : std::string(entry)) + "/" + program_path;
    if (IsExecutableFile(candidate)) return FolderOf(candidate);
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

}  // namespace zek
