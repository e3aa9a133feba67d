#pragma once
// Conversions between UTF-8 and the UTF-16 text the suite works in.
// Every text of the core is std::u16string: UTF-16 on every platform, and the
// same units as a Windows wide string, so the win32 seams pass it straight on.

#include <string>
#include <string_view>

namespace vespera {

// Ill-formed input never fails: a bad UTF-8 sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Appends the units of a UTF-16 text as file bytes, low byte first unless big-endian.
void AppendUtf16Bytes(std::string& bytes, std::u16string_view text, bool bigEndian = false);

// Appends one code point (up to 0x10FFFF) as one unit or a surrogate pair.
void AppendCodePoint(std::u16string& out, char32_t codePoint);

}  // namespace vespera
