// Folders of the Windows build: the module's own file name and the shell's folders.
#include "common/Folders.h"

#include "platform/win32/WideText.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace vespera::platform {

namespace {

std::u16string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  const HRESULT result =
      SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return SUCCEEDED(result) ? win32::FromWide(path) : std::u16string();
}

}  // namespace

// The buffer grows until the whole name fits: a program folder deeper than MAX_PATH
// (possible with long-path support) is never cut short.
std::u16string RunningProgramFile() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return win32::FromWide(buffer.data(), length);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::u16string SystemAppDataFolder() { return ShellFolder(CSIDL_APPDATA); }

std::u16string SystemDesktopFolder() { return ShellFolder(CSIDL_DESKTOP); }

}  // namespace vespera::platform
