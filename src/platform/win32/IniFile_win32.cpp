// IniFile of the Windows build: the platform's profile functions. After each write the
// profile cache is flushed, so the file on disk is current for the other programs.
#include "common/IniFile.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <vector>

namespace vespera {

namespace {

using win32::Wide;

// Creates a missing file, and starts an empty one, with the byte-order mark FF FE.
bool PrepareForWrite(const std::u16string& path) {
  win32::UniqueFileHandle file(CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return false;
  if (size.QuadPart != 0) return true;
  DWORD written = 0;
  return WriteFile(file.get(), "\xFF\xFE", 2, &written, nullptr) && written == 2;
}

void FlushProfileCache(const std::u16string& path) {
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(path));
}

}  // namespace

std::u16string IniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultText) const {
  std::vector<wchar_t> buffer(kMaxValueLength + 1);
  const DWORD length = GetPrivateProfileStringW(
      Wide(std::u16string(section)), Wide(std::u16string(key)), Wide(std::u16string(defaultText)),
      buffer.data(), static_cast<DWORD>(buffer.size()), Wide(path_));
  return win32::FromWide(buffer.data(), length);
}

int IniFile::ReadInt(std::u16string_view section, std::u16string_view key, int defaultValue) const {
  return static_cast<int>(
      GetPrivateProfileIntW(Wide(std::u16string(section)), Wide(std::u16string(key)), defaultValue, Wide(path_)));
}

// Read into a copy first: the platform fills the buffer before it checks the checksum.
bool IniFile::ReadStruct(std::u16string_view section, std::u16string_view key,
                         std::span<std::uint8_t> buffer) const {
  std::vector<std::uint8_t> copy(buffer.size());
  if (!GetPrivateProfileStructW(Wide(std::u16string(section)), Wide(std::u16string(key)), copy.data(),
                                static_cast<UINT>(copy.size()), Wide(path_))) {
    return false;
  }
  std::copy(copy.begin(), copy.end(), buffer.begin());
  return true;
}

bool IniFile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view text) const {
  if (!PrepareForWrite(path_)) return false;
  const bool written = WritePrivateProfileStringW(Wide(std::u16string(section)), Wide(std::u16string(key)),
                                                  Wide(std::u16string(text)), Wide(path_));
  FlushProfileCache(path_);
  return written;
}

bool IniFile::WriteStruct(std::u16string_view section, std::u16string_view key,
                          std::span<const std::uint8_t> bytes) const {
  if (!PrepareForWrite(path_)) return false;
  // The profile function takes a non-const pointer but only reads the block.
  const bool written = WritePrivateProfileStructW(Wide(std::u16string(section)), Wide(std::u16string(key)),
                                                  const_cast<std::uint8_t*>(bytes.data()),
                                                  static_cast<UINT>(bytes.size()), Wide(path_));
  FlushProfileCache(path_);
  return written;
}

}  // namespace vespera
