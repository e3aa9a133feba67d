// IniFile of the host build: the whole file is read, changed as a ProfileDocument and
// written back, which is what the platform's profile functions do on Windows.
#include "common/IniFile.h"

#include "common/ProfileText.h"
#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace vespera {

namespace {

namespace fs = std::filesystem;

// Far beyond any settings file; a larger one reads as missing.
constexpr std::uint64_t kMaxFileBytes = 256 << 20;

std::optional<std::string> ReadFileBytes(const std::u16string& path) {
  WholeFile file = ReadWholeFile(path, kMaxFileBytes);
  if (!file.read) return std::nullopt;
  return std::move(file.bytes);
}

bool WriteWholeFile(const std::u16string& path, const std::string& bytes) {
  std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

// Creates a missing file, and starts an empty one, with the byte-order mark FF FE.
bool PrepareForWrite(const std::u16string& path) {
  const int file = ::open(fs::path(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (file < 0) return false;
  struct stat status {};
  bool ready = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode);
  if (ready && status.st_size == 0) ready = ::write(file, "\xFF\xFE", 2) == 2;
  ::close(file);
  return ready;
}

std::optional<std::u16string> StoredValue(const std::u16string& path, std::u16string_view section,
                                          std::u16string_view key) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return ProfileDocument::FromBytes(*bytes).FindValue(section, key);
}

bool WriteValue(const std::u16string& path, std::u16string_view section, std::u16string_view key,
                std::u16string_view value) {
  if (!PrepareForWrite(path)) return false;
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return false;
  ProfileDocument document = ProfileDocument::FromBytes(*bytes);
  return !document.SetValue(section, key, value) || WriteWholeFile(path, document.ToBytes());
}

}  // namespace

std::u16string IniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultText) const {
  return ProfileStringResult(StoredValue(path_, section, key), defaultText, kMaxValueLength + 1);
}

int IniFile::ReadInt(std::u16string_view section, std::u16string_view key, int defaultValue) const {
  return ProfileIntResult(StoredValue(path_, section, key), defaultValue);
}

bool IniFile::ReadStruct(std::u16string_view section, std::u16string_view key,
                         std::span<std::uint8_t> buffer) const {
  const std::optional<std::u16string> stored = StoredValue(path_, section, key);
  return stored && DecodeProfileStruct(*stored, buffer);
}

bool IniFile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view text) const {
  return WriteValue(path_, section, key, text);
}

bool IniFile::WriteStruct(std::u16string_view section, std::u16string_view key,
                          std::span<const std::uint8_t> bytes) const {
  return WriteValue(path_, section, key, EncodeProfileStruct(bytes));
}

}  // namespace vespera
