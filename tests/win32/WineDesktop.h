#pragma once
// Under Wine, the first program that needs the desktop starts the desktop process
// (explorer.exe /desktop) and hands it the program's standard error. ctest, which reads
// that pipe, would then wait for the desktop process to end, long after the test. Tests
// that open windows first make sure of the desktop with standard error on NUL; on
// Windows this only asks for the desktop window.

#include "platform/win32/UniqueHandle.h"

#include <windows.h>

namespace vespera::test {

inline void EnsureDesktopWithoutStandardError() {
  const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
  const win32::UniqueFileHandle nul(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
  SetStdHandle(STD_ERROR_HANDLE, nul.get());
  GetDesktopWindow();
  SetStdHandle(STD_ERROR_HANDLE, standardError);
}

}  // namespace vespera::test
