// Starting the tray program and the browser, and resolving shortcuts.
#include "platform/win32/Shell.h"

#include "common/Folders.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <msi.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace vespera {

namespace {

using win32::Wide;

// The shell-link object's class; spelled out here so that no GUID library is needed.
constexpr CLSID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() {
    if (pointer_) pointer_->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;

  Interface* operator->() const { return pointer_; }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// COM for the length of one call; uninitialised again only when this call initialised it.
class ComForThisCall {
 public:
  ComForThisCall() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComForThisCall() {
    if (initialised_) CoUninitialize();
  }
  ComForThisCall(const ComForThisCall&) = delete;
  ComForThisCall& operator=(const ComForThisCall&) = delete;

 private:
  bool initialised_;
};

// A key's default value as text, of any length (RRF_RT_REG_SZ takes expandable text
// too, expanded); empty text when the key has none.
std::optional<std::wstring> DefaultValue(HKEY root, const std::wstring& subKey) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  const win32::UniqueRegistryKey key(opened);
  std::vector<wchar_t> text(MAX_PATH);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status = RegGetValueW(key.get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &size);
    if (status == ERROR_SUCCESS) return std::wstring(text.data());
    if (status != ERROR_MORE_DATA) break;
    text.resize(std::max<size_t>(text.size() * 2, size / sizeof(wchar_t) + 1));
  }
  return std::wstring();
}

std::wstring TrimmedWithoutQuotes(std::wstring command) {
  std::erase(command, L'"');
  const auto first = command.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return {};
  return command.substr(first, command.find_last_not_of(L" \t\r\n") - first + 1);
}

bool IsExistingFile(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  const win32::UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
  return find && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The command's program path: the shortest text up to a blank that names a file, or
// the whole command ("C:\Program Files\Browser\browser.exe -osint -url %1").
std::wstring ProgramOfCommand(const std::wstring& command) {
  for (size_t blank = command.find(L' '); blank != std::wstring::npos; blank = command.find(L' ', blank + 1)) {
    std::wstring cut = command.substr(0, blank);
    if (IsExistingFile(cut)) return cut;
  }
  return command;
}

// The program is named apart from the command line, and quoted in it, so that a
// program path with blanks can never start "C:\Program.exe" instead.
bool StartProgram(const std::wstring& program, std::u16string_view argument) {
  std::wstring commandLine = L"\"" + program + L"\" ";
  commandLine.append(reinterpret_cast<const wchar_t*>(argument.data()), argument.size());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  const win32::UniqueKernelHandle thread(process.hThread);
  const win32::UniqueKernelHandle started(process.hProcess);
  return true;
}

std::optional<std::u16string> InstallerShortcutTarget(const std::u16string& shortcut) {
  wchar_t product[39] = {};
  wchar_t feature[MAX_FEATURE_CHARS + 1] = {};
  wchar_t component[39] = {};
  if (MsiGetShortcutTargetW(Wide(shortcut), product, feature, component) != ERROR_SUCCESS) return std::nullopt;
  std::vector<wchar_t> path(MAX_PATH);
  DWORD size = static_cast<DWORD>(path.size());
  INSTALLSTATE state = MsiGetComponentPathW(product, component, path.data(), &size);
  if (state == INSTALLSTATE_MOREDATA) {
    path.resize(size + 1);
    size = static_cast<DWORD>(path.size());
    state = MsiGetComponentPathW(product, component, path.data(), &size);
  }
  if (state != INSTALLSTATE_LOCAL && state != INSTALLSTATE_SOURCE) return std::nullopt;
  return win32::FromWide(path.data());
}

std::optional<std::u16string> ShellLinkTarget(const std::u16string& shortcut) {
  const ComForThisCall com;
  ComPointer<IShellLinkW> link;
  ComPointer<IPersistFile> file;
  if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW), link.Out())) ||
      FAILED(link->QueryInterface(__uuidof(IPersistFile), file.Out())) ||
      FAILED(file->Load(Wide(shortcut), STGM_READ))) {
    return std::nullopt;
  }
  std::vector<wchar_t> path(32768);
  if (link->GetPath(path.data(), static_cast<int>(path.size()), nullptr, 0) != S_OK) return std::nullopt;
  return win32::FromWide(path.data());
}

}  // namespace

void StartTrayProgram() {
  if (FindWindowW(nullptr, kTrayWindowTitle)) return;
  const std::u16string program = ProgramFolder() + kTrayProgramFile;
  ShellExecuteW(nullptr, L"open", Wide(program), nullptr, nullptr, SW_SHOW);
}

int OpenInBrowser(std::u16string_view address) {
  const std::optional<std::wstring> pageType = DefaultValue(HKEY_CLASSES_ROOT, L".htm");
  if (!pageType) return -1;
  const std::optional<std::wstring> command =
      DefaultValue(HKEY_CLASSES_ROOT, *pageType + L"\\shell\\open\\command");
  if (!command) {
    ShellExecuteW(nullptr, L"open", Wide(std::u16string(address)), nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
  }
  const std::wstring program = ProgramOfCommand(TrimmedWithoutQuotes(*command));
  return StartProgram(program, address) ? 0 : -1;
}

bool ResolveShortcut(std::u16string_view shortcut, std::u16string& target) {
  const std::u16string path(shortcut);
  std::optional<std::u16string> found = InstallerShortcutTarget(path);
  if (!found) found = ShellLinkTarget(path);
  target = found.value_or(std::u16string());
  return found.has_value();
}

}  // namespace vespera
