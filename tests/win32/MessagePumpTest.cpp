#include "platform/win32/Shell.h"

#include "platform/win32/UniqueHandle.h"

#include <gtest/gtest.h>

namespace vespera {
namespace {

constexpr UINT kTestMessage = WM_APP + 7;

int deliveredMessages = 0;

LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTestMessage) {
    ++deliveredMessages;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

win32::UniqueWindow CreateCountingWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = CountingWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VesperaPumpTest";
  RegisterClassW(&windowClass);
  return win32::UniqueWindow(CreateWindowExW(0, L"VesperaPumpTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                             nullptr, windowClass.hInstance, nullptr));
}

TEST(PumpMessagesFor, DispatchesWaitingMessagesForTheWholeTime) {
  const win32::UniqueWindow window = CreateCountingWindow();
  ASSERT_TRUE(window);
  deliveredMessages = 0;
  PostMessageW(window.get(), kTestMessage, 0, 0);
  PostMessageW(window.get(), kTestMessage, 0, 0);
  const std::uint64_t elapsed = PumpMessagesFor(50);
  EXPECT_GE(elapsed, 50u);
  EXPECT_LT(elapsed, 1000u);
  EXPECT_EQ(deliveredMessages, 2);
}

// A quit message taken off the queue here would never reach the program's own loop.
TEST(PumpMessagesFor, LeavesAQuitMessageForTheProgramsLoop) {
  PostQuitMessage(3);
  EXPECT_LT(PumpMessagesFor(5000), 5000u);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
}  // namespace vespera
