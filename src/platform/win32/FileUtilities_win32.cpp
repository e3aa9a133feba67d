// File system access of the Windows build for DeleteFolderTree: the Win32 calls with
// the "\\?\" form for long paths, so trees deeper than MAX_PATH go as well.
#include "common/FileUtilities.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace vespera::platform {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring LongPathForm(const std::u16string& path) {
  std::wstring wide(reinterpret_cast<const wchar_t*>(path.c_str()), path.size());
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\")) return wide;
  if (wide.size() > 2 && wide[1] == L':' && IsSeparator(wide[2])) return L"\\\\?\\" + wide;
  if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;
}

bool IsDotEntry(const wchar_t* name) { return !wcscmp(name, L".") || !wcscmp(name, L".."); }

}  // namespace

std::optional<std::vector<FolderEntry>> ListFolder(const std::u16string& folder) {
  WIN32_FIND_DATAW data;
  win32::UniqueFindHandle find(FindFirstFileExW(LongPathForm(folder + u"*").c_str(), FindExInfoBasic,
                                                &data, FindExSearchNameMatch, nullptr, 0));
  if (!find) return std::nullopt;
  std::vector<FolderEntry> entries;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    const DWORD attributes = data.dwFileAttributes;
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    entries.push_back({win32::FromWide(data.cFileName), isFolder});
  } while (FindNextFileW(find.get(), &data));
  return entries;
}

// A link to a folder is removed as a folder, without touching what it points to.
bool DeleteFileForced(const std::u16string& file) {
  const std::wstring path = LongPathForm(file);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(path.c_str()) || RemoveDirectoryW(path.c_str());
}

bool RemoveEmptyFolder(const std::u16string& folder) {
  const std::wstring path = LongPathForm(folder);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryW(path.c_str());
}

}  // namespace vespera::platform
