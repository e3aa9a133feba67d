// File system access of the host build for DeleteFolderTree.
#include "common/FileUtilities.h"

#include <filesystem>
#include <system_error>

namespace vespera::platform {

namespace fs = std::filesystem;

std::optional<std::vector<FolderEntry>> ListFolder(const std::u16string& folder) {
  std::error_code error;
  fs::directory_iterator entry(fs::path(folder), error);
  if (error) return std::nullopt;
  std::vector<FolderEntry> entries;
  for (; entry != fs::directory_iterator(); entry.increment(error)) {
    if (error) break;
    std::error_code statusError;
    const bool isFolder = fs::is_directory(entry->symlink_status(statusError));
    entries.push_back({entry->path().filename().u16string(), isFolder});
  }
  return entries;
}

// On POSIX systems the folder's permissions decide, not the file's own.
bool DeleteFileForced(const std::u16string& file) {
  std::error_code error;
  return fs::remove(fs::path(file), error);
}

bool RemoveEmptyFolder(const std::u16string& folder) {
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(fs::path(folder), error))) return false;
  return fs::remove(fs::path(folder), error);
}

}  // namespace vespera::platform
