#include "common/TextUtf.h"

namespace vespera {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one sequence starting at utf8[pos]; advances pos past what it used.
char32_t DecodeOne(std::string_view utf8, size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) { extra = 1; value = lead & 0x1F; minimum = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { extra = 2; value = lead & 0x0F; minimum = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { extra = 3; value = lead & 0x07; minimum = 0x10000; }
  else return kReplacement;
  for (int i = 0; i < extra; ++i) {
    if (pos >= utf8.size() || !IsContinuation(static_cast<unsigned char>(utf8[pos])))
      return kReplacement;
    value = (value << 6) | (static_cast<unsigned char>(utf8[pos++]) & 0x3F);
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (value < minimum || value > 0x10FFFF || surrogate) return kReplacement;
  return value;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

void AppendCodePoint(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out += static_cast<char16_t>(codePoint);
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  out += static_cast<char16_t>(0xD800 + (offset >> 10));
  out += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
}

void AppendUtf16Bytes(std::string& bytes, std::u16string_view text, bool bigEndian) {
  bytes.reserve(bytes.size() + text.size() * 2);
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) AppendCodePoint(out, DecodeOne(utf8, pos));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (utf16[++i] - 0xDC00));
    } else {
      AppendUtf8(out, (high || low) ? kReplacement : unit);
    }
  }
  return out;
}

}  // namespace vespera
