// Starting the tray program and the browser, and resolving shortcuts, under Wine.
// The programs started are fake_browser.exe and its copy VesperaControlTrayIcon.exe,
// built beside the tests; they write their command lines into a log file.
#include "platform/win32/Shell.h"

#include "common/Folders.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "support/TempFolder.h"
#include "unit/TestFiles.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace vespera {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::u16string FakeBrowser() { return ProgramFolder() + u"fake_browser.exe"; }

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"VESPERA_FAKE_PROGRAM_LOG", log_.c_str());
  }
  void TearDown() override { SetEnvironmentVariableW(L"VESPERA_FAKE_PROGRAM_LOG", nullptr); }

  // The command lines the fake programs wrote, once one arrived or the wait ran out.
  std::u16string WaitForStartedPrograms(std::chrono::milliseconds wait = 10s) const {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
      if (fs::exists(log_) && fs::file_size(log_) > 0) break;
      std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(100ms);  // let the writer finish its line
    return test::Utf16LeText(test::ReadBytes(log_));
  }

  test::TempFolder temp_;
  fs::path log_ = temp_.Path() / "started.log";
};

TEST_F(ShellTest, StartsTheTrayProgramOnlyWhileItsWindowIsAbsent) {
  ASSERT_TRUE(fs::exists(fs::path(ProgramFolder() + kTrayProgramFile)));
  ASSERT_EQ(FindWindowW(nullptr, kTrayWindowTitle), nullptr) << "no tray program runs yet";
  StartTrayProgram();
  EXPECT_NE(WaitForStartedPrograms().find(u"VesperaControlTrayIcon.exe"), std::u16string::npos);

  fs::remove(log_);
  const win32::UniqueWindow trayWindow(
      CreateWindowExW(0, L"STATIC", kTrayWindowTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(trayWindow);
  StartTrayProgram();
  EXPECT_EQ(WaitForStartedPrograms(1500ms), u"");
}

// Maps HKEY_CLASSES_ROOT of this process to an empty key of the test's own, so that the
// file associations are the test's and no other process sees them.
class ClassesRootOverride {
 public:
  ClassesRootOverride() {
    path_ = L"Software\\VesperaTests\\Classes" + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    key_.reset(key);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, key_.get());
  }
  ~ClassesRootOverride() {
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    key_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
  }
  ClassesRootOverride(const ClassesRootOverride&) = delete;
  ClassesRootOverride& operator=(const ClassesRootOverride&) = delete;

  void SetDefault(const std::wstring& subKey, const std::u16string& value) const {
    RegSetKeyValueW(key_.get(), subKey.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
  }

 private:
  std::wstring path_;
  win32::UniqueRegistryKey key_;
};

TEST_F(ShellTest, OpenInBrowserStartsTheHtmProgramWithTheAddress) {
  // A program path with blanks, quoted in the command and followed by arguments.
  const fs::path browserFolder = temp_.Path() / "My Browser";
  fs::create_directories(browserFolder);
  const std::u16string browser = (browserFolder / "fake browser.exe").u16string();
  fs::copy_file(fs::path(FakeBrowser()), fs::path(browser));
  const ClassesRootOverride classes;
  classes.SetDefault(L".htm", u"VesperaTest.Page");
  classes.SetDefault(L"VesperaTest.Page\\shell\\open\\command", u" \"" + browser + u"\" -new \"%1\" ");

  EXPECT_EQ(OpenInBrowser(u"https://www.example.com/qv914?lang=en"), 0);
  EXPECT_EQ(WaitForStartedPrograms(), u"\"" + browser + u"\" https://www.example.com/qv914?lang=en\n");
}

TEST_F(ShellTest, OpenInBrowserFailsWithoutAnAssociationOrAProgram) {
  const ClassesRootOverride classes;
  EXPECT_EQ(OpenInBrowser(u"https://www.example.com/"), -1) << "no .htm association";

  classes.SetDefault(L".htm", u"VesperaTest.Page");
  classes.SetDefault(L"VesperaTest.Page\\shell\\open\\command", u"C:\\nowhere\\browser.exe %1");
  EXPECT_EQ(OpenInBrowser(u"https://www.example.com/"), -1) << "the program cannot start";
}

TEST_F(ShellTest, OpenInBrowserHandsTheAddressToTheShellWhenThePageTypeHasNoCommand) {
  const ClassesRootOverride classes;
  classes.SetDefault(L".htm", u"VesperaTest.Missing");
  classes.SetDefault(L".vesperatest", u"VesperaTest.Document");
  classes.SetDefault(L"VesperaTest.Document\\shell\\open\\command", u"\"" + FakeBrowser() + u"\" \"%1\"");
  const std::u16string page = temp_.WriteFile(u"page.vesperatest", "<html/>");

  EXPECT_EQ(OpenInBrowser(page), 0);
  EXPECT_NE(WaitForStartedPrograms().find(page), std::u16string::npos);
}

// A shell link written with the shell-link object, as the shell itself writes them.
void CreateShellLink(const std::u16string& link, const std::u16string& target) {
  CoInitialize(nullptr);
  IShellLinkW* shellLink = nullptr;
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                   reinterpret_cast<void**>(&shellLink));
  ASSERT_NE(shellLink, nullptr);
  shellLink->SetPath(win32::Wide(target));
  IPersistFile* file = nullptr;
  shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Save(win32::Wide(link), TRUE), S_OK);
  file->Release();
  shellLink->Release();
  CoUninitialize();
}

TEST_F(ShellTest, ResolveShortcutFindsTheTargetOfAShellLink) {
  const std::u16string game = temp_.WriteFile(u"game.exe", "MZ");
  const std::u16string link = temp_.File(u"Game.lnk");
  CreateShellLink(link, game);
  std::u16string target = u"left over";
  EXPECT_TRUE(ResolveShortcut(link, target));
  EXPECT_EQ(target, game);
}

TEST_F(ShellTest, ResolveShortcutLeavesAnEmptyTargetWhenThereIsNone) {
  const std::u16string notALink = temp_.WriteFile(u"text.lnk", "just text");
  for (const std::u16string& shortcut : {temp_.File(u"missing.lnk"), notALink}) {
    std::u16string target = u"left over";
    EXPECT_FALSE(ResolveShortcut(shortcut, target));
    EXPECT_EQ(target, u"");
  }
}

}  // namespace
}  // namespace vespera
