#pragma once
// Character references in element text and attribute values: "&#65;", "&#x41;"
// and the named references of HTML 4.01 plus "apos".

#include <string>
#include <string_view>

namespace vespera {

// The character of a named reference, looked up without regard to case; 0 when
// the name is not in the set. Names that HTML writes in two cases (Oslash and
// oslash, dArr and darr) both give the character of the form with capitals.
char32_t NamedReferenceCharacter(std::u16string_view name);

// Replaces every reference by its character. "&" followed by at most nine ASCII
// characters and ";" is a reference; anything that is not a known one (an
// unknown name, a number that is 0, beyond U+10FFFF or a surrogate) is kept as written.
std::u16string DecodeCharacterReferences(std::u16string_view text);

}  // namespace vespera
