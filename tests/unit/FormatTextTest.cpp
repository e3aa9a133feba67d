#include "common/FormatText.h"

#include "common/TextUtf.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vespera {
namespace {

struct FormatCase {
  const char* name;
  std::u16string formatted;
  std::u16string expected;
};

void ExpectAll(std::initializer_list<FormatCase> cases) {
  for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(c.formatted), Utf16ToUtf8(c.expected)) << c.name;
}

TEST(FormatText, FormatsNumbersAsPrintfDoes) {
  const unsigned char byte = 0xAB;
  ExpectAll({
      {"signed", FormatText(u"%d", -5), u"-5"},
      {"i", FormatText(u"%i", 42), u"42"},
      {"unsigned", FormatText(u"%u", 3000000000u), u"3000000000"},
      {"negative as unsigned", FormatText(u"%u", -1), u"4294967295"},
      {"hex", FormatText(u"%x", 255), u"ff"},
      {"upper hex", FormatText(u"%X", 0xBEEF), u"BEEF"},
      {"negative as hex", FormatText(u"%X", -1), u"FFFFFFFF"},
      {"zero padded byte", FormatText(u"%02X", byte), u"AB"},
      {"zero padding", FormatText(u"%04X", 0x5), u"0005"},
      {"zero padded negative", FormatText(u"%05d", -42), u"-0042"},
      {"width", FormatText(u"[%4d]", 7), u"[   7]"},
      {"left aligned", FormatText(u"[%-4d]", 7), u"[7   ]"},
      {"plus", FormatText(u"%+d", 7), u"+7"},
      {"alternate hex", FormatText(u"%#x", 26), u"0x1a"},
      {"precision digits", FormatText(u"%.3d", 7), u"007"},
      {"star width", FormatText(u"[%*d]", 3, 1), u"[  1]"},
      {"long", FormatText(u"%ld %lu", -2L, 2UL), u"-2 2"},
      {"64-bit", FormatText(u"%lld", INT64_MIN), u"-9223372036854775808"},
      {"64-bit hex", FormatText(u"%I64X", std::uint64_t{0x123456789A}), u"123456789A"},
      {"octal", FormatText(u"%o", 8), u"10"},
  });
}

TEST(FormatText, FormatsTextAndCharacters) {
  const std::u16string path = u"C:\\Users\\me\\My%20Files";
  ExpectAll({
      {"u16string", FormatText(u"plug: %s", path), u"plug: C:\\Users\\me\\My%20Files"},
      {"literal", FormatText(u"%s!", u"App Init"), u"App Init!"},
      {"utf-8 text", FormatText(u"%s", std::string("caf\xC3\xA9")), u"caf\u00E9"},
      {"null text", FormatText(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)"},
      {"width", FormatText(u"[%5s]", u"ab"), u"[   ab]"},
      {"left", FormatText(u"[%-5s]", u"ab"), u"[ab   ]"},
      {"precision", FormatText(u"%.2s", u"abc"), u"ab"},
      {"character", FormatText(u"%c%c", u'O', u'K'), u"OK"},
      {"character from a number", FormatText(u"%c", 0x41), u"A"},
      {"percent", FormatText(u"100%%"), u"100%"},
  });
}

TEST(FormatText, NeverFailsOnMismatchedDirectives) {
  ExpectAll({
      {"missing argument", FormatText(u"a %d b"), u"a %d b"},
      {"missing second", FormatText(u"%d/%d", 1), u"1/%d"},
      {"extra argument", FormatText(u"x", 1, 2), u"x"},
      {"unknown conversion", FormatText(u"%q", 1), u"%q"},
      {"dangling percent", FormatText(u"50%", 1), u"50%"},
      {"number for text", FormatText(u"%s", -3), u"-3"},
      {"text for number", FormatText(u"%d", u"text"), u"text"},
  });
  EXPECT_EQ(FormatText(u"%999999999d", 1).size(), 10000u) << "a huge width is bounded";
}

}  // namespace
}  // namespace vespera
