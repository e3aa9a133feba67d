#include "common/Folders.h"

#include <filesystem>
#include <system_error>

namespace vespera {

namespace fs = std::filesystem;

namespace {

FolderOverrides& Overrides() {
  static FolderOverrides overrides;
  return overrides;
}

std::u16string WithoutTrailingSeparator(std::u16string path) {
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

// Makes sure a folder exists under this name, deleting a plain file that stands there.
void EnsureFolder(const std::u16string& path) {
  const fs::path folder(WithoutTrailingSeparator(path));
  std::error_code error;
  const fs::file_status status = fs::status(folder, error);
  if (fs::is_directory(status)) return;
  if (fs::exists(status)) fs::remove(folder, error);
  fs::create_directory(folder, error);
}

}  // namespace

bool IsPathSeparator(char16_t c) {
#ifdef _WIN32
  return c == u'\\' || c == u'/';
#else
  return c == u'/';
#endif
}

std::u16string NativeSeparators(std::u16string_view path) {
  std::u16string native(path);
  for (char16_t& c : native) {
    if (c == u'\\' || c == u'/') c = kPathSeparator;
  }
  return native;
}

std::u16string ProgramFolder() {
  std::u16string file = platform::RunningProgramFile();
  while (!file.empty() && !IsPathSeparator(file.back())) file.pop_back();
  return file;
}

std::u16string AppDataFolder() {
  const auto& override = Overrides().appData;
  return override ? *override : platform::SystemAppDataFolder();
}

std::u16string DesktopFolder() {
  const auto& override = Overrides().desktop;
  return override ? *override : platform::SystemDesktopFolder();
}

std::u16string EnsureDataFolder(std::u16string_view relative) {
  const std::u16string base = AppDataFolder();
  if (base.empty()) return {};
  const std::u16string nativeRelative = NativeSeparators(relative);
  const std::u16string full = base + nativeRelative;
  std::error_code error;
  if (fs::is_directory(fs::path(WithoutTrailingSeparator(full)), error)) return full;

  // The system creates the base itself on request; a base named by a test may be new.
  fs::create_directories(fs::path(base), error);
  for (size_t i = 1; i < nativeRelative.size(); ++i) {
    if (IsPathSeparator(nativeRelative[i])) EnsureFolder(base + nativeRelative.substr(0, i));
  }
  return full;
}

std::u16string DataFolder() {
  const std::u16string base = AppDataFolder();
  return base.empty() ? std::u16string() : base + NativeSeparators(kDataFolderRelative);
}

void SetFolderOverridesForTests(const FolderOverrides& overrides) { Overrides() = overrides; }

}  // namespace vespera
