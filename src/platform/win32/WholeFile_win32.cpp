#include "platform/WholeFile.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace vespera {

namespace {

std::u16string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length =
      ::FormatMessageW(flags, nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const win32::ScopeExit freeBuffer([buffer] { ::LocalFree(buffer); });
  if (length == 0) return u"Error " + win32::FromWide(std::to_wstring(error).c_str());
  return win32::FromWide(buffer, length);
}

WholeFile Failure(DWORD error) {
  WholeFile file;
  file.error = SystemMessage(error);
  return file;
}

}  // namespace

WholeFile ReadWholeFile(const std::u16string& path, uint64_t maxBytes) {
  const win32::UniqueFileHandle handle(::CreateFileW(
      win32::Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!handle || !::GetFileSizeEx(handle.get(), &size)) return Failure(::GetLastError());
  if (static_cast<uint64_t>(size.QuadPart) > maxBytes) return Failure(ERROR_FILE_TOO_LARGE);

  WholeFile file;
  file.bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < file.bytes.size()) {
    constexpr size_t kChunk = 1 << 24;
    const DWORD wanted = static_cast<DWORD>(std::min(kChunk, file.bytes.size() - done));
    DWORD got = 0;
    if (!::ReadFile(handle.get(), file.bytes.data() + done, wanted, &got, nullptr))
      return Failure(::GetLastError());
    if (got == 0) break;  // the file shrank while being read
    done += got;
  }
  file.bytes.resize(done);
  file.read = true;
  return file;
}

}  // namespace vespera
