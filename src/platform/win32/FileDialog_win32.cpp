// The file-open dialog that picks a program for a button to launch.
#include "common/Folders.h"
#include "platform/win32/Shell.h"
#include "platform/win32/WideText.h"

#include <commdlg.h>

#include <vector>

namespace vespera {

namespace {

// "Application files (*.exe)", as the dialog has always shown it, then the pattern; the
// list ends with an empty entry.
constexpr wchar_t kProgramFilter[] = L"アプリケーションファイル(*.exe)\0*.exe\0";

std::u16string FolderOf(const std::u16string& path) {
  const size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator);
}

}  // namespace

std::u16string PickProgramFile(std::u16string_view initialPath, std::u16string_view title, HWND owner) {
  const std::u16string initial(initialPath);
  const std::u16string folder = initial.empty() ? DesktopFolder() : FolderOf(initial);
  const std::u16string dialogTitle(title);
  std::vector<wchar_t> file(32768, L'\0');
  wcscpy(file.data(), L"*.exe");

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kProgramFilter;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : win32::Wide(folder);
  dialog.lpstrTitle = dialogTitle.empty() ? nullptr : win32::Wide(dialogTitle);
  dialog.lpstrDefExt = L"exe";
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_NODEREFERENCELINKS;
  if (!GetOpenFileNameW(&dialog)) return initial;
  return win32::FromWide(file.data());
}

}  // namespace vespera
