#include "common/CharacterReferences.h"
#include "common/Digits.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "common/TextUtf.h"

namespace vespera {

namespace {

struct NamedReference {
  std::string_view lowerName;
  char32_t character;
};

// Sorted by lower-case name; the HTML names that exist in two cases appear once,
// with the character of their capital form.
constexpr NamedReference kNamedReferences[] = {
    {"aacute", 0x00C1}, {"acirc", 0x00C2},   {"acute", 0x00B4},   {"aelig", 0x00C6},
    {"agrave", 0x00C0}, {"alefsym", 0x2135}, {"alpha", 0x0391},   {"amp", 0x0026},
    {"and", 0x2227},    {"ang", 0x2220},     {"apos", 0x0027},    {"aring", 0x00C5},
    {"asymp", 0x2248},  {"atilde", 0x00C3},  {"auml", 0x00C4},    {"bdquo", 0x201E},
    {"beta", 0x0392},   {"brvbar", 0x00A6},  {"bull", 0x2022},    {"cap", 0x2229},
    {"ccedil", 0x00C7}, {"cedil", 0x00B8},   {"cent", 0x00A2},    {"chi", 0x03A7},
    {"circ", 0x02C6},   {"clubs", 0x2663},   {"cong", 0x2245},    {"copy", 0x00A9},
    {"crarr", 0x21B5},  {"cup", 0x222A},     {"curren", 0x00A4},  {"dagger", 0x2021},
    {"darr", 0x21D3},   {"deg", 0x00B0},     {"delta", 0x0394},   {"diams", 0x2666},
    {"divide", 0x00F7}, {"eacute", 0x00C9},  {"ecirc", 0x00CA},   {"egrave", 0x00C8},
    {"empty", 0x2205},  {"emsp", 0x2003},    {"ensp", 0x2002},    {"epsilon", 0x0395},
    {"equiv", 0x2261},  {"eta", 0x0397},     {"eth", 0x00D0},     {"euml", 0x00CB},
    {"euro", 0x20AC},   {"exist", 0x2203},   {"fnof", 0x0192},    {"forall", 0x2200},
    {"frac12", 0x00BD}, {"frac14", 0x00BC},  {"frac34", 0x00BE},  {"frasl", 0x2044},
    {"gamma", 0x0393},  {"ge", 0x2265},      {"gt", 0x003E},      {"harr", 0x21D4},
    {"hearts", 0x2665}, {"hellip", 0x2026},  {"iacute", 0x00CD},  {"icirc", 0x00CE},
    {"iexcl", 0x00A1},  {"igrave", 0x00CC},  {"image", 0x2111},   {"infin", 0x221E},
    {"int", 0x222B},    {"iota", 0x0399},    {"iquest", 0x00BF},  {"isin", 0x2208},
    {"iuml", 0x00CF},   {"kappa", 0x039A},   {"lambda", 0x039B},  {"lang", 0x2329},
    {"laquo", 0x00AB},  {"larr", 0x21D0},    {"lceil", 0x2308},   {"ldquo", 0x201C},
    {"le", 0x2264},     {"lfloor", 0x230A},  {"lowast", 0x2217},  {"loz", 0x25CA},
    {"lrm", 0x200E},    {"lsaquo", 0x2039},  {"lsquo", 0x2018},   {"lt", 0x003C},
    {"macr", 0x00AF},   {"mdash", 0x2014},   {"micro", 0x00B5},   {"middot", 0x00B7},
    {"minus", 0x2212},  {"mu", 0x039C},      {"nabla", 0x2207},   {"nbsp", 0x00A0},
    {"ndash", 0x2013},  {"ne", 0x2260},      {"ni", 0x220B},      {"not", 0x00AC},
    {"notin", 0x2209},  {"nsub", 0x2284},    {"ntilde", 0x00D1},  {"nu", 0x039D},
    {"oacute", 0x00D3}, {"ocirc", 0x00D4},   {"oelig", 0x0152},   {"ograve", 0x00D2},
    {"oline", 0x203E},  {"omega", 0x03A9},   {"omicron", 0x039F}, {"oplus", 0x2295},
    {"or", 0x2228},     {"ordf", 0x00AA},    {"ordm", 0x00BA},    {"oslash", 0x00D8},
    {"otilde", 0x00D5}, {"otimes", 0x2297},  {"ouml", 0x00D6},    {"para", 0x00B6},
    {"part", 0x2202},   {"permil", 0x2030},  {"perp", 0x22A5},    {"phi", 0x03A6},
    {"pi", 0x03A0},     {"piv", 0x03D6},     {"plusmn", 0x00B1},  {"pound", 0x00A3},
    {"prime", 0x2033},  {"prod", 0x220F},    {"prop", 0x221D},    {"psi", 0x03A8},
    {"quot", 0x0022},   {"radic", 0x221A},   {"rang", 0x232A},    {"raquo", 0x00BB},
    {"rarr", 0x21D2},   {"rceil", 0x2309},   {"rdquo", 0x201D},   {"real", 0x211C},
    {"reg", 0x00AE},    {"rfloor", 0x230B},  {"rho", 0x03A1},     {"rlm", 0x200F},
    {"rsaquo", 0x203A}, {"rsquo", 0x2019},   {"sbquo", 0x201A},   {"scaron", 0x0160},
    {"sdot", 0x22C5},   {"sect", 0x00A7},    {"shy", 0x00AD},     {"sigma", 0x03A3},
    {"sigmaf", 0x03C2}, {"sim", 0x223C},     {"spades", 0x2660},  {"sub", 0x2282},
    {"sube", 0x2286},   {"sum", 0x2211},     {"sup", 0x2283},     {"sup1", 0x00B9},
    {"sup2", 0x00B2},   {"sup3", 0x00B3},    {"supe", 0x2287},    {"szlig", 0x00DF},
    {"tau", 0x03A4},    {"there4", 0x2234},  {"theta", 0x0398},   {"thetasym", 0x03D1},
    {"thinsp", 0x2009}, {"thorn", 0x00DE},   {"tilde", 0x02DC},   {"times", 0x00D7},
    {"trade", 0x2122},  {"uacute", 0x00DA},  {"uarr", 0x21D1},    {"ucirc", 0x00DB},
    {"ugrave", 0x00D9}, {"uml", 0x00A8},     {"upsih", 0x03D2},   {"upsilon", 0x03A5},
    {"uuml", 0x00DC},   {"weierp", 0x2118},  {"xi", 0x039E},      {"yacute", 0x00DD},
    {"yen", 0x00A5},    {"yuml", 0x0178},    {"zeta", 0x0396},    {"zwj", 0x200D},
    {"zwnj", 0x200C},
};

static_assert(std::is_sorted(std::begin(kNamedReferences), std::end(kNamedReferences),
                             [](const NamedReference& a, const NamedReference& b) {
                               return a.lowerName < b.lowerName;
                             }));

// The lower-case forms of the names that HTML writes in two cases. Written exactly so,
// a name means its own character ("&eacute;" is é, "&darr;" the single arrow); any
// other spelling falls back to the capital form of the table above.
constexpr NamedReference kLowerCaseForms[] = {
    {"aacute", 0x00E1}, {"acirc", 0x00E2},   {"aelig", 0x00E6},   {"agrave", 0x00E0},
    {"alpha", 0x03B1},  {"aring", 0x00E5},   {"atilde", 0x00E3},  {"auml", 0x00E4},
    {"beta", 0x03B2},   {"ccedil", 0x00E7},  {"chi", 0x03C7},     {"dagger", 0x2020},
    {"darr", 0x2193},   {"delta", 0x03B4},   {"eacute", 0x00E9},  {"ecirc", 0x00EA},
    {"egrave", 0x00E8}, {"epsilon", 0x03B5}, {"eta", 0x03B7},     {"eth", 0x00F0},
    {"euml", 0x00EB},   {"gamma", 0x03B3},   {"harr", 0x2194},    {"iacute", 0x00ED},
    {"icirc", 0x00EE},  {"igrave", 0x00EC},  {"iota", 0x03B9},    {"iuml", 0x00EF},
    {"kappa", 0x03BA},  {"lambda", 0x03BB},  {"larr", 0x2190},    {"mu", 0x03BC},
    {"ntilde", 0x00F1}, {"nu", 0x03BD},      {"oacute", 0x00F3},  {"ocirc", 0x00F4},
    {"oelig", 0x0153},  {"ograve", 0x00F2},  {"omega", 0x03C9},   {"omicron", 0x03BF},
    {"oslash", 0x00F8}, {"otilde", 0x00F5},  {"ouml", 0x00F6},    {"phi", 0x03C6},
    {"pi", 0x03C0},     {"prime", 0x2032},   {"psi", 0x03C8},     {"rarr", 0x2192},
    {"rho", 0x03C1},    {"scaron", 0x0161},  {"sigma", 0x03C3},   {"tau", 0x03C4},
    {"theta", 0x03B8},  {"thorn", 0x00FE},   {"uacute", 0x00FA},  {"uarr", 0x2191},
    {"ucirc", 0x00FB},  {"ugrave", 0x00F9},  {"upsilon", 0x03C5}, {"uuml", 0x00FC},
    {"xi", 0x03BE},     {"yacute", 0x00FD},  {"yuml", 0x00FF},    {"zeta", 0x03B6},
};

static_assert(std::is_sorted(std::begin(kLowerCaseForms), std::end(kLowerCaseForms),
                             [](const NamedReference& a, const NamedReference& b) {
                               return a.lowerName < b.lowerName;
                             }));

constexpr size_t kMaxReferenceName = 9;

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

// Compares a lower-case table name with a name as written, ignoring its case.
int CompareIgnoringCase(std::string_view lowerName, std::u16string_view name) {
  const size_t common = std::min(lowerName.size(), name.size());
  for (size_t i = 0; i < common; ++i) {
    const char16_t a = static_cast<unsigned char>(lowerName[i]);
    const char16_t b = LowerAscii(name[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (lowerName.size() == name.size()) return 0;
  return lowerName.size() < name.size() ? -1 : 1;
}

bool EqualsExactly(std::string_view tableName, std::u16string_view name) {
  return std::equal(tableName.begin(), tableName.end(), name.begin(), name.end(),
                    [](char a, char16_t b) { return static_cast<unsigned char>(a) == b; });
}

// The character of a name written exactly as one of the lower-case forms; 0 otherwise.
char32_t LowerCaseFormCharacter(std::u16string_view name) {
  const auto found =
      std::lower_bound(std::begin(kLowerCaseForms), std::end(kLowerCaseForms), name,
                       [](const NamedReference& entry, std::u16string_view wanted) {
                         return CompareIgnoringCase(entry.lowerName, wanted) < 0;
                       });
  if (found == std::end(kLowerCaseForms) || !EqualsExactly(found->lowerName, name)) return 0;
  return found->character;
}

// "#65" or "#x41" (at most nine characters, so no overflow).
char32_t NumericReferenceCharacter(std::u16string_view body) {
  int base = 10;
  body.remove_prefix(1);
  if (!body.empty() && (body[0] == u'x' || body[0] == u'X')) {
    base = 16;
    body.remove_prefix(1);
  }
  if (body.empty()) return 0;
  char32_t value = 0;
  for (char16_t c : body) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return 0;
    value = value * base + digit;
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  return (value > 0x10FFFF || surrogate) ? 0 : value;
}

// The text between "&" and ";" when text[ampersand] starts a reference.
std::optional<std::u16string_view> ReferenceBody(std::u16string_view text, size_t ampersand) {
  const size_t limit = std::min(text.size(), ampersand + 2 + kMaxReferenceName);
  for (size_t i = ampersand + 1; i < limit; ++i) {
    if (text[i] == u';') return text.substr(ampersand + 1, i - ampersand - 1);
    if (text[i] >= 0x80) break;
  }
  return std::nullopt;
}

char32_t ReferenceCharacter(std::u16string_view body) {
  if (!body.empty() && body[0] == u'#') return NumericReferenceCharacter(body);
  return NamedReferenceCharacter(body);
}

}  // namespace

char32_t NamedReferenceCharacter(std::u16string_view name) {
  if (const char32_t lowerCase = LowerCaseFormCharacter(name)) return lowerCase;
  const auto found =
      std::lower_bound(std::begin(kNamedReferences), std::end(kNamedReferences), name,
                       [](const NamedReference& entry, std::u16string_view wanted) {
                         return CompareIgnoringCase(entry.lowerName, wanted) < 0;
                       });
  if (found == std::end(kNamedReferences) || CompareIgnoringCase(found->lowerName, name) != 0)
    return 0;
  return found->character;
}

std::u16string DecodeCharacterReferences(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t ampersand = text.find(u'&', pos);
    out.append(text.substr(pos, ampersand - pos));
    if (ampersand == std::u16string_view::npos) break;
    const auto body = ReferenceBody(text, ampersand);
    const char32_t character = body ? ReferenceCharacter(*body) : 0;
    if (character == 0) {
      out += u'&';
      pos = ampersand + 1;
    } else {
      AppendCodePoint(out, character);
      pos = ampersand + body->size() + 2;
    }
  }
  return out;
}

}  // namespace vespera
