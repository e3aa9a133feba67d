#include "common/ProfileText.h"
#include "common/Digits.h"

#include "common/TextUtf.h"

#include <algorithm>
#include <array>

namespace vespera {

namespace {

// --- bytes and text ---

// Code page 1252 at 0x80..0x9F; every other byte is the code point of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string DecodeCp1252(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text.push_back(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t(byte));
  }
  return text;
}

char EncodeCp1252(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  const auto* found = std::find(kCp1252High.begin(), kCp1252High.end(), unit);
  if (found == kCp1252High.end()) return '?';
  return static_cast<char>(0x80 + (found - kCp1252High.begin()));
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first));
  }
  if (bytes.size() % 2) text.push_back(static_cast<unsigned char>(bytes.back()));
  return text;
}

struct DecodedText {
  ProfileEncoding encoding;
  std::u16string text;
};

DecodedText Decode(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {ProfileEncoding::Utf8, Utf8ToUtf16(bytes.substr(3))};
  if (bytes.starts_with("\xFF\xFE")) return {ProfileEncoding::Utf16Le, DecodeUtf16(bytes.substr(2), false)};
  if (bytes.starts_with("\xFE\xFF")) return {ProfileEncoding::Utf16Be, DecodeUtf16(bytes.substr(2), true)};
  return {ProfileEncoding::Ansi, DecodeCp1252(bytes)};
}

std::string Encode(ProfileEncoding encoding, std::u16string_view text) {
  std::string bytes;
  switch (encoding) {
    case ProfileEncoding::Utf16Le:
      bytes = "\xFF\xFE";
      AppendUtf16Bytes(bytes, text, false);
      break;
    case ProfileEncoding::Utf16Be:
      bytes = "\xFE\xFF";
      AppendUtf16Bytes(bytes, text, true);
      break;
    case ProfileEncoding::Utf8:
      bytes = "\xEF\xBB\xBF" + Utf16ToUtf8(text);
      break;
    case ProfileEncoding::Ansi:
      bytes.reserve(text.size());
      for (const char16_t unit : text) bytes.push_back(EncodeCp1252(unit));
      break;
  }
  return bytes;
}

// --- lines ---

bool IsProfileBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; }

std::u16string_view TrimLeft(std::u16string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::u16string_view TrimRight(std::u16string_view text) {
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string_view Trim(std::u16string_view text) { return TrimRight(TrimLeft(text)); }

std::u16string_view UpToNul(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

struct LineMeaning {
  enum class Kind { Blank, Section, Key } kind = Kind::Blank;
  std::u16string_view name;
  std::optional<std::u16string_view> value;
};

LineMeaning Classify(std::u16string_view text) {
  const std::u16string_view line = Trim(text);
  if (line.empty()) return {};
  if (line.front() == u'[') {
    const size_t close = line.rfind(u']');
    if (close != std::u16string_view::npos && close > 0) {
      return {LineMeaning::Kind::Section, UpToNul(Trim(line.substr(1, close - 1))), std::nullopt};
    }
  }
  const size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return {LineMeaning::Kind::Key, UpToNul(line), std::nullopt};
  return {LineMeaning::Kind::Key, UpToNul(TrimRight(line.substr(0, equals))),
          UpToNul(TrimLeft(line.substr(equals + 1)))};
}

std::u16string KeyLine(std::u16string_view name, std::u16string_view value) {
  std::u16string line(name);
  line += u'=';
  line += value;
  return line;
}

// --- values ---

// A pair of matching quotes comes off; as the platform does it, a value that only fits
// the buffer once the opening quote is gone loses one more unit than the closing one.
std::u16string CopyEntry(std::u16string_view value, size_t capacity) {
  if (capacity == 0) return {};
  bool quoted = false;
  if (value.size() > 1 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::u16string result(value.substr(0, capacity - 1));
  if (quoted && capacity >= value.size() && !result.empty()) result.pop_back();
  return result;
}

unsigned ReadBasePrefix(std::u16string_view& text) {
  if (text.size() < 2 || text[0] != u'0') return 10;
  const char16_t mark = text[1];
  const unsigned base = mark == u'x' ? 16 : mark == u'o' ? 8 : mark == u'b' ? 2 : 10;
  if (base != 10) text.remove_prefix(2);
  return base;
}

int ParseLeadingInteger(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  const unsigned base = ReadBasePrefix(text);
  std::uint32_t total = 0;
  for (const char16_t c : text) {
    const int digit = DigitValue(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
    total = total * base + static_cast<std::uint32_t>(digit);
  }
  return static_cast<int>(negative ? 0u - total : total);
}

int HexValue(char16_t c) { return DigitValue(c, 16); }

}  // namespace

ProfileDocument ProfileDocument::FromBytes(std::string_view bytes) {
  ProfileDocument document;
  DecodedText decoded = Decode(bytes);
  document.encoding_ = decoded.encoding;
  const std::u16string_view text = decoded.text;
  size_t start = 0;
  while (start < text.size()) {
    const size_t stop = text.find_first_of(u"\r\n", start);
    if (stop == std::u16string_view::npos) {
      document.lines_.push_back({std::u16string(text.substr(start)), {}});
      break;
    }
    const size_t endingLength = text.substr(stop).starts_with(u"\r\n") ? 2 : 1;
    document.lines_.push_back({std::u16string(text.substr(start, stop - start)),
                               std::u16string(text.substr(stop, endingLength))});
    start = stop + endingLength;
  }
  return document;
}

std::string ProfileDocument::ToBytes() const {
  std::u16string text;
  for (const Line& line : lines_) text += line.text + line.ending;
  return Encode(encoding_, text);
}

ProfileDocument::SectionLines ProfileDocument::FindSection(std::u16string_view name) const {
  const std::u16string_view wanted = Trim(name);
  // The unnamed section holds the lines before the first section name.
  SectionLines section{wanted.empty(), 0, 0};
  for (size_t i = 0; i < lines_.size(); ++i) {
    const LineMeaning meaning = Classify(lines_[i].text);
    if (meaning.kind != LineMeaning::Kind::Section) continue;
    if (section.found) {
      section.end = i;
      return section;
    }
    if (SameName(meaning.name, wanted)) section = {true, i + 1, 0};
  }
  section.end = lines_.size();
  return section;
}

std::optional<size_t> ProfileDocument::FindKeyLine(const SectionLines& section, std::u16string_view key) const {
  const std::u16string_view wanted = Trim(key);
  for (size_t i = section.begin; i < section.end; ++i) {
    const LineMeaning meaning = Classify(lines_[i].text);
    if (meaning.kind == LineMeaning::Kind::Key && SameName(meaning.name, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::u16string> ProfileDocument::FindValue(std::u16string_view section,
                                                         std::u16string_view key) const {
  const SectionLines lines = FindSection(section);
  if (!lines.found) return std::nullopt;
  const std::optional<size_t> index = FindKeyLine(lines, key);
  if (!index) return std::nullopt;
  const std::optional<std::u16string_view> value = Classify(lines_[*index].text).value;
  if (!value) return std::nullopt;
  return std::u16string(*value);
}

bool ProfileDocument::SetValue(std::u16string_view section, std::u16string_view key,
                               std::u16string_view value) {
  const std::u16string_view newValue = TrimLeft(value);
  const SectionLines lines = FindSection(section);
  if (!lines.found) {
    AppendSection(Trim(section), KeyLine(Trim(key), newValue));
    return true;
  }
  const std::optional<size_t> index = FindKeyLine(lines, key);
  if (!index) {
    InsertKeyLine(lines, KeyLine(Trim(key), newValue));
    return true;
  }
  const LineMeaning meaning = Classify(lines_[*index].text);
  if (meaning.value == newValue) return false;
  lines_[*index].text = KeyLine(meaning.name, newValue);
  return true;
}

void ProfileDocument::InsertKeyLine(const SectionLines& section, std::u16string line) {
  size_t position = section.begin;
  for (size_t i = section.begin; i < section.end; ++i) {
    if (Classify(lines_[i].text).kind != LineMeaning::Kind::Blank) position = i + 1;
  }
  if (position > 0) EndLastLine(position - 1);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), Line{std::move(line), u"\r\n"});
}

void ProfileDocument::AppendSection(std::u16string_view name, std::u16string line) {
  if (!lines_.empty()) EndLastLine(lines_.size() - 1);
  lines_.push_back({u"[" + std::u16string(name) + u"]", u"\r\n"});
  lines_.push_back({std::move(line), u"\r\n"});
}

void ProfileDocument::EndLastLine(size_t index) {
  if (lines_[index].ending.empty()) lines_[index].ending = u"\r\n";
}

std::u16string ProfileStringResult(const std::optional<std::u16string>& stored,
                                   std::u16string_view defaultText, size_t capacity) {
  if (stored) return CopyEntry(*stored, capacity);
  // The first unit stays even when it is a space, as the platform does it.
  while (defaultText.size() > 1 && defaultText.back() == u' ') defaultText.remove_suffix(1);
  return CopyEntry(defaultText, capacity);
}

int ProfileIntResult(const std::optional<std::u16string>& stored, int defaultValue) {
  constexpr size_t kIntegerBuffer = 30;
  const std::u16string text = ProfileStringResult(stored, u"", kIntegerBuffer);
  return text.empty() ? defaultValue : ParseLeadingInteger(text);
}

std::u16string EncodeProfileStruct(std::span<const std::uint8_t> bytes) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string text;
  text.reserve(bytes.size() * 2 + 2);
  unsigned sum = 0;
  const auto appendByte = [&](unsigned byte) {
    text.push_back(kHex[byte >> 4]);
    text.push_back(kHex[byte & 0xF]);
  };
  for (const std::uint8_t byte : bytes) {
    appendByte(byte);
    sum += byte;
  }
  appendByte(sum & 0xFF);
  return text;
}

bool DecodeProfileStruct(std::u16string_view text, std::span<std::uint8_t> buffer) {
  if (text.size() != buffer.size() * 2 + 2) return false;
  if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return HexValue(c) >= 0; })) return false;
  std::vector<std::uint8_t> bytes(buffer.size() + 1);
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(HexValue(text[2 * i]) << 4 | HexValue(text[2 * i + 1]));
  }
  unsigned sum = 0;
  for (size_t i = 0; i < buffer.size(); ++i) sum += bytes[i];
  if ((sum & 0xFF) != bytes.back()) return false;
  std::copy(bytes.begin(), bytes.end() - 1, buffer.begin());
  return true;
}

}  // namespace vespera
