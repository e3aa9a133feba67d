#pragma once
// Character references in element text and attribute values: "&#65;", "&#x41;"
// and the named references of HTML 4.01 plus "apos".

#include <string>
#include <string_view>

namespace vespera {

// The character of a named reference; 0 when the name is not in the set. A name
// written exactly as HTML writes it gives its own character ("eacute" é, "Eacute" É,
// "darr" the single arrow, "dArr" the double one); any other spelling is looked up
// without regard to case, and for the names HTML writes in two cases the form with
// capitals wins ("EACUTE" and "Oslash" as "OSLASH" give the capital letter).
char32_t NamedReferenceCharacter(std::u16string_view name);

// Replaces every reference by its character. "&" followed by at most nine ASCII
// characters and ";" is a reference; anything that is not a known one (an
// unknown name, a number that is 0, beyond U+10FFFF or a surrogate) is kept as written.
std::u16string DecodeCharacterReferences(std::u16string_view text);

}  // namespace vespera
