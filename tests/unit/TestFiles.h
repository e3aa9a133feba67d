#pragma once
// File content for tests of the settings files, the folders and the debug log.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace vespera::test {

// The text as UTF-16LE bytes, after the byte-order mark FF FE unless told otherwise.
inline std::string Utf16LeBytes(std::u16string_view text, bool withByteOrderMark = true) {
  std::string bytes = withByteOrderMark ? "\xFF\xFE" : "";
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// The units of UTF-16LE bytes (an odd last byte is dropped); the mark is not removed.
inline std::u16string Utf16LeText(std::string_view bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

// Writes raw bytes to a file anywhere, replacing what was there.
inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vespera::test
