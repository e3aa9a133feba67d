#pragma once
// An INI-style settings file: a Windows profile file in UTF-16LE. The object holds only
// the file's full path and is copied freely; every operation opens and closes the file.
//
// Windows build: the platform's profile functions. Host build: ProfileDocument, a
// reader and writer of the same format held to the same tests.
//
// Before every write a missing or empty file is given the byte-order mark FF FE, so that
// the profile functions keep it in UTF-16LE; an existing file is never re-created.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vespera {

class IniFile {
 public:
  // Longest text ReadString returns; a longer value is cut.
  static constexpr size_t kMaxValueLength = 4095;

  explicit IniFile(std::u16string path) : path_(std::move(path)) {}
  const std::u16string& Path() const { return path_; }

  // A missing file or key reads as the default.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultText) const;
  int ReadInt(std::u16string_view section, std::u16string_view key, int defaultValue) const;
  // Fills the buffer from a block stored by WriteStruct; false, and the buffer left as
  // it was, when the stored text has the wrong length or checksum.
  bool ReadStruct(std::u16string_view section, std::u16string_view key, std::span<std::uint8_t> buffer) const;

  // Each write reaches the file before it returns.
  bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view text) const;
  bool WriteInt(std::u16string_view section, std::u16string_view key, int value) const;
  bool WriteStruct(std::u16string_view section, std::u16string_view key, std::span<const std::uint8_t> bytes) const;

 private:
  std::u16string path_;
};

}  // namespace vespera
