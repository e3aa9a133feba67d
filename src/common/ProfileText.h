#pragma once
// The Windows profile-file format ("INI" files), read and written the way the platform's
// profile functions treat it, for the host build of IniFile and for tests:
//
// - Encoding by byte-order mark: FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8; without
//   one the file is single-byte text in code page 1252. A rewrite keeps the encoding.
// - Lines end with CR LF, CR or LF. Blanks (space, tab to CR, and ^Z) around a line, a
//   section name, a key name and a value do not count. "[name]" opens a section (the
//   last ']' of the line closes the name); a line before any section belongs to the
//   unnamed section "". Any other line is a key: the name before its first '=', the value
//   after it; a line without '=' is a key without a value, which reads as absent.
//   Nothing is a comment: ";x=1" is the key ";x".
// - Section and key names compare without regard to ASCII case; the first section of a
//   name and the first key of a name in it count, later repeats are never seen.
// - Names and values end at a NUL character, as the platform's C strings do.
// - A rewrite changes one line or adds one; every other line stays as it was. A new key
//   goes after the section's last non-blank line, a new section at the end of the file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vespera {

enum class ProfileEncoding { Utf16Le, Utf16Be, Utf8, Ansi };

class ProfileDocument {
 public:
  // An empty document, written as UTF-16LE.
  ProfileDocument() = default;
  // Any bytes at all: nothing is rejected, and odd or binary content reads as what it
  // can (an odd last byte of UTF-16 text is one more unit).
  static ProfileDocument FromBytes(std::string_view bytes);
  std::string ToBytes() const;

  ProfileEncoding Encoding() const { return encoding_; }

  // The key's value as stored; nullopt when the key is absent or has no '='.
  std::optional<std::u16string> FindValue(std::u16string_view section, std::u16string_view key) const;

  // Stores the value (its leading blanks dropped) under the key, adding the key or the
  // section when missing. False when the key already held this value: nothing changed.
  bool SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

 private:
  struct Line {
    std::u16string text;
    std::u16string ending;  // "\r\n", "\r", "\n", or empty for a last line without one
  };
  struct SectionLines {
    bool found = false;
    size_t begin = 0;  // the first line after the section's name
    size_t end = 0;    // the next section's name, or the end of the file
  };

  SectionLines FindSection(std::u16string_view name) const;
  std::optional<size_t> FindKeyLine(const SectionLines& section, std::u16string_view key) const;
  void InsertKeyLine(const SectionLines& section, std::u16string line);
  void AppendSection(std::u16string_view name, std::u16string line);
  void EndLastLine(size_t index);

  ProfileEncoding encoding_ = ProfileEncoding::Utf16Le;
  std::vector<Line> lines_;
};

// What a string read with a buffer of `capacity` units yields: the stored value, or the
// default when there is none (its trailing spaces dropped); a pair of matching quotes
// ("..." or '...') around it removed; at most capacity - 1 units.
std::u16string ProfileStringResult(const std::optional<std::u16string>& stored,
                                   std::u16string_view defaultText, size_t capacity);

// What an integer read yields: the default when the value is absent or reads as empty
// text; otherwise the leading number of its first 29 units: blanks, a sign, then
// decimal digits, or a "0x", "0o" or "0b" prefix and digits of that base; the value
// wraps around at 32 bits.
int ProfileIntResult(const std::optional<std::u16string>& stored, int defaultValue);

// The struct encoding: two upper-case hex digits per byte, then two holding the low byte
// of the sum of all bytes.
std::u16string EncodeProfileStruct(std::span<const std::uint8_t> bytes);

// Fills the buffer from an encoded block of exactly its size with a matching checksum;
// false, with the buffer untouched, for any other text.
bool DecodeProfileStruct(std::u16string_view text, std::span<std::uint8_t> buffer);

}  // namespace vespera
