// Folders of the host build: the program file from /proc, the others from the environment.
#include "common/Folders.h"

#include "common/TextUtf.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vespera::platform {

namespace {

std::u16string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? Utf8ToUtf16(value) : std::u16string();
}

}  // namespace

std::u16string RunningProgramFile() {
  std::error_code error;
  const std::filesystem::path file = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::u16string() : file.u16string();
}

std::u16string SystemAppDataFolder() {
  if (auto folder = Environment("VESPERA_APPDATA"); !folder.empty()) return folder;
  if (auto folder = Environment("XDG_CONFIG_HOME"); !folder.empty()) return folder;
  if (auto home = Environment("HOME"); !home.empty()) return home + u"/.config";
  return {};
}

std::u16string SystemDesktopFolder() {
  if (auto folder = Environment("VESPERA_DESKTOP"); !folder.empty()) return folder;
  return Environment("HOME");
}

}  // namespace vespera::platform
