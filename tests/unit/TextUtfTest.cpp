#include "common/TextUtf.h"

#include <gtest/gtest.h>

namespace vespera {
namespace {

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(TextUtf, ConvertsWellFormedTextBothWays) {
  const Utf8Case cases[] = {
      {"ascii", "KALDOREX", u"KALDOREX"},
      {"two bytes", "\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
      {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
      {"surrogate pair", "\xF0\x9F\x96\xB1", u"\U0001F5B1"},
      {"empty", "", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name;
  }
}

TEST(TextUtf, IllFormedInputBecomesReplacementCharacters) {
  const Utf8Case cases[] = {
      {"stray continuation", "a\x80" "b", u"a\uFFFDb"},
      {"cut short", "\xE2\x82", u"\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vespera
