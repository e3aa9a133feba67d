// Stands in for a browser, or for the tray program, in the shell tests: appends its
// command line and a line end, as UTF-16LE, to the file that the environment variable
// VESPERA_FAKE_PROGRAM_LOG names, then ends.
#include "platform/win32/UniqueHandle.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const DWORD size = GetEnvironmentVariableW(L"VESPERA_FAKE_PROGRAM_LOG", nullptr, 0);
  if (size == 0) return 1;
  std::wstring log(size, L'\0');
  GetEnvironmentVariableW(L"VESPERA_FAKE_PROGRAM_LOG", log.data(), size);
  const vespera::win32::UniqueFileHandle file(CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 2;
  const std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
  DWORD written = 0;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
  return 0;
}
