// The file-open dialog under Wine: a helper thread waits for the dialog by its title
// and answers it the way a user would.
#include "platform/win32/Shell.h"

#include "common/Folders.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <dlgs.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace vespera {
namespace {

using namespace std::chrono_literals;

// Tests run in parallel: the process id keeps each dialog apart from the others'.
const std::u16string kTitle =
    u"Choose the program " + std::filesystem::path(std::to_string(GetCurrentProcessId())).u16string();

// Runs the answer on the dialog once it shows (within ten seconds).
class DialogAnswer {
 public:
  explicit DialogAnswer(std::function<void(HWND)> answer)
      : thread_([answer = std::move(answer)] {
          const auto deadline = std::chrono::steady_clock::now() + 10s;
          while (std::chrono::steady_clock::now() < deadline) {
            if (HWND dialog = FindWindowW(L"#32770", reinterpret_cast<const wchar_t*>(kTitle.c_str()))) {
              std::this_thread::sleep_for(300ms);  // let it finish setting itself up
              answer(dialog);
              return;
            }
            std::this_thread::sleep_for(50ms);
          }
        }) {}
  ~DialogAnswer() { thread_.join(); }

 private:
  std::thread thread_;
};

TEST(PickProgramFile, CancelReturnsTheInitialPathUnchanged) {
  for (const std::u16string initial : {u"", u"C:\\Games\\Racing\\game.exe"}) {
    const DialogAnswer cancel([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(PickProgramFile(initial, kTitle), initial);
  }
}

TEST(PickProgramFile, ConfirmReturnsTheChosenPath) {
  const std::u16string chosen = ProgramFolder() + u"fake_browser.exe";
  const DialogAnswer choose([&chosen](HWND dialog) {
    SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(chosen.c_str()));
    SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(chosen.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(PickProgramFile(u"", kTitle), chosen);
}

}  // namespace
}  // namespace vespera
