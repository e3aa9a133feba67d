#include "platform/win32/Shell.h"

namespace vespera {

std::uint64_t PumpMessagesFor(std::uint64_t milliseconds) {
  const ULONGLONG start = GetTickCount64();
  ULONGLONG elapsed = 0;
  do {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return GetTickCount64() - start;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    elapsed = GetTickCount64() - start;
  } while (elapsed < milliseconds);
  return elapsed;
}

}  // namespace vespera
