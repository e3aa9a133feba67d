#pragma once
// Turns the bytes of a markup file into UTF-16 text: byte-order marks, declared
// encodings, the UTF-8 test, code pages; and tells how it read them.

#include <cstdint>
#include <string>
#include <string_view>

namespace vespera {

enum MarkupFlag : uint32_t {
  kMarkupUtf16LeMark = 0x1,
  kMarkupUtf8Mark = 0x4,
  kMarkupReadFile = 0x10,
  kMarkupUtf16BeMark = 0x80,
};

struct DecodedMarkup {
  std::u16string text;
  std::u16string report;  // e.g. "UTF-8 BOM + length 1200 to 1150 wide chars "
  uint32_t flags = kMarkupReadFile;
};

DecodedMarkup DecodeMarkup(std::string_view bytes);

// The encoding a document declares in its first bytes (read as UTF-8): the
// "encoding" of an <?xml ...?> declaration, or the charset of an HTML
// <meta http-equiv="Content-Type" content="...; charset=..."> in the head.
std::u16string DeclaredEncoding(std::string_view head);

// The lenient test of whether bytes (up to the first zero byte) are UTF-8.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace vespera
