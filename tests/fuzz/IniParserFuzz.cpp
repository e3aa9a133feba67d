// The host's profile-file reader and writer on arbitrary bytes: look keys up, read them
// as every IniFile operation does, write a key, and check that the rewritten file reads
// back the written value. Unchanged UTF-16LE files must be written back byte for byte.
#include "common/ProfileText.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using vespera::ProfileDocument;

void ReadAsIniFileDoes(const ProfileDocument& document, std::u16string_view section, std::u16string_view key) {
  const auto stored = document.FindValue(section, key);
  vespera::ProfileStringResult(stored, u"default  ", 4096);
  vespera::ProfileIntResult(stored, 1);
  std::array<std::uint8_t, 16> block{};
  if (stored) vespera::DecodeProfileStruct(*stored, block);
}

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProfileDocument document = ProfileDocument::FromBytes(bytes);
  ReadAsIniFileDoes(document, u"Setting", u"Profile");
  ReadAsIniFileDoes(document, u"Profile", u"Block");
  ReadAsIniFileDoes(document, u"", u"k");

  if (document.Encoding() == vespera::ProfileEncoding::Utf16Le && size % 2 == 0) {
    Require(document.ToBytes() == bytes);
  }

  const std::u16string written = u"value 42";
  document.SetValue(u"Setting", u"Fuzz", written);
  document.SetValue(u"", u"Top", written);
  const ProfileDocument reread = ProfileDocument::FromBytes(document.ToBytes());
  Require(reread.FindValue(u"Setting", u"Fuzz") == written);
  Require(reread.FindValue(u"", u"Top") == written);
  Require(reread.Encoding() == document.Encoding());
  return 0;
}
