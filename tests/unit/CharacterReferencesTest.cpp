#include "common/CharacterReferences.h"

#include <gtest/gtest.h>

namespace vespera {
namespace {

struct ReferenceCase {
  const char* name;
  std::u16string written;
  std::u16string decoded;
};

TEST(CharacterReferences, DecodesNumericAndNamedReferences) {
  const ReferenceCase cases[] = {
      {"angle brackets", u"&lt;b&gt;", u"<b>"},
      {"hex and decimal", u"&#x41;&#X41;&#65;", u"AAA"},
      {"beyond the BMP", u"&#x1F5B1;", u"\U0001F5B1"},
      {"name in capitals", u"&AMP;", u"&"},
      {"apos", u"&apos;", u"'"},
      {"nine characters", u"&thetasym;", u"\u03D1"},
      {"among text", u"a&nbsp;b&euro;", u"a\u00A0b\u20AC"},
      {"stray ampersand first", u"&&amp;", u"&&"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeCharacterReferences(c.written), c.decoded) << c.name;
}

// HTML writes some names in two cases: each exact spelling keeps its own character,
// and any other spelling falls back to the form with capitals.
TEST(CharacterReferences, NamesInTwoCasesKeepTheirOwnCharacter) {
  const ReferenceCase cases[] = {
      {"oslash", u"&oslash;&Oslash;&OSLASH;", u"\u00F8\u00D8\u00D8"},
      {"eacute in French text", u"caf&eacute; &Eacute;t&eacute;", u"caf\u00E9 \u00C9t\u00E9"},
      {"darr", u"&darr;&dArr;&DARR;", u"\u2193\u21D3\u21D3"},
      {"dagger", u"&dagger;&Dagger;", u"\u2020\u2021"},
      {"eth", u"&eth;&ETH;&Eth;", u"\u00F0\u00D0\u00D0"},
      {"yuml", u"&yuml;&Yuml;", u"\u00FF\u0178"},
      {"single-case name in any case", u"&COPY;&Copy;", u"\u00A9\u00A9"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeCharacterReferences(c.written), c.decoded) << c.name;
}

TEST(CharacterReferences, LeavesWhatIsNotAReferenceAsWritten) {
  const std::u16string kept[] = {
      u"&bogus;",      u"&#0;",   u"&#x110000;", u"&#xD800;", u"&#12a;", u"&#;",
      u"&#x;",         u"& amp;", u"&amp",       u"a&",       u"&;",     u"&\u00E9;",
      u"&abcdefghij;",  // ten characters: too long to be a reference
  };
  for (const auto& text : kept) EXPECT_EQ(DecodeCharacterReferences(text), text);
}

}  // namespace
}  // namespace vespera
