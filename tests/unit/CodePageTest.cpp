#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/CodePageTable.h"
#include "platform/CodePageConverter.h"

namespace vespera {
namespace {

TEST(CodePageTable, Holds254NamesFor116CodePages) {
  const auto names = CodePageNames();
  std::set<std::string_view> distinctNames;
  std::set<unsigned> codePages;
  for (const auto& entry : names) {
    distinctNames.insert(entry.name);
    codePages.insert(entry.codePage);
    EXPECT_LT(entry.name.size(), 100u) << entry.name;
    for (char c : entry.name) EXPECT_FALSE(c >= 'A' && c <= 'Z') << entry.name;
  }
  EXPECT_EQ(names.size(), 254u);
  EXPECT_EQ(distinctNames.size(), names.size());
  EXPECT_EQ(codePages.size(), 116u);
}

TEST(CodePageTable, FindsTheTellingRowsInAnyCase) {
  const std::pair<const char*, unsigned> rows[] = {
      {"utf-8", 65001},        {"UNICODE-1-1-UTF-8", 65001},
      {"utf-16", 1200},        {"Unicode", 1200},
      {"unicodeFFFE", 1201},   {"US-ASCII", 20127},
      {"ascii", 20127},        {"iso646-us", 20127},
      {"ISO-8859-1", 28591},   {"latin1", 28591},
      {"L1", 28591},           {"windows-1252", 1252},
      {"x-ansi", 1252},        {"us", 1252},
      {"Shift_JIS", 932},      {"shift-jis", 932},
      {"x-sjis", 932},         {"MS_Kanji", 932},
      {"GB2312", 936},         {"gbk", 936},
      {"chinese", 936},        {"Big5", 950},
      {"cn-big5", 950},        {"EUC-KR", 949},
      {"ks_c_5601-1987", 949}, {"korean", 949},
      {"EUC-JP", 51932},       {"KOI8-R", 20866},
      {"ISO-2022-JP", 50220},  {"UTF-7", 65000},
      {"windows-1250", 1250},  {"windows-1251", 1251},
      {"windows-1253", 1253},  {"windows-1254", 1254},
      {"windows-1255", 1255},  {"windows-1256", 1256},
      {"windows-1257", 1257},  {"Windows-1258", 1258},
  };
  for (const auto& [name, codePage] : rows) EXPECT_EQ(CodePageForName(name), codePage) << name;
}

TEST(CodePageTable, UnknownNamesHaveNoCodePage) {
  for (const char* name : {"", "utf8", "windows-1259", "UTF-32", "utf-8 ", "\xC3\xA9"})
    EXPECT_EQ(CodePageForName(name), 0u) << name;
}

struct DecodeCase {
  unsigned codePage;
  std::string bytes;
  std::u16string text;
};

// Characters on which MultiByteToWideChar and glibc iconv agree.
TEST(CodePageConverter, GivesTheSameCharactersForTheTellingCodePages) {
  const DecodeCase cases[] = {
      {1252, "A\x80\xE9\xFC", u"A\u20AC\u00E9\u00FC"},
      {28591, "\xE9\xA4", u"\u00E9\u00A4"},
      {20127, "Az~", u"Az~"},
      {932, "\x82\xA0\x93\xFA\x96\x7B", u"\u3042\u65E5\u672C"},
      {936, "\xC4\xE3\xBA\xC3", u"\u4F60\u597D"},
      {950, "\xA7\x41\xA6\x6E", u"\u4F60\u597D"},
      {949, "\xC7\xD1\xB1\xB9", u"\uD55C\uAD6D"},
      {51932, "\xA4\xA2\xC6\xFC", u"\u3042\u65E5"},
      {20866, "\xC1\xE1", u"\u0430\u0410"},
      {50220, "a\x1B$B$\"F|\x1B(Bb", u"a\u3042\u65E5b"},
      {65000, "+ZeVnLIqe-", u"\u65E5\u672C\u8A9E"},
      {1250, "\x8A\xE8", u"\u0160\u010D"},
      {1251, "\xC0\xFF", u"\u0410\u044F"},
      {1253, "\xC1\xF9", u"\u0391\u03C9"},
      {1254, "\xF0\xFD", u"\u011F\u0131"},
      {1255, "\xE0\xFA", u"\u05D0\u05EA"},
      {1256, "\xC7\xE1", u"\u0627\u0644"},
      {1257, "\xC0\xE8", u"\u0104\u010D"},
      {1258, "\xC3\xE3", u"\u0102\u0103"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeCodePage(c.codePage, c.bytes), c.text) << c.codePage;
}

// UTF-16 is no byte encoding: given for bytes it is read like an unknown code page.
TEST(CodePageConverter, ReadsCodePagesItCannotConvertAsAnsi) {
  const std::string bytes = "caf\xE9";
  const std::u16string ansi = DecodeCodePage(AnsiCodePage(), bytes);
  EXPECT_EQ(ansi.size(), 4u);
  for (unsigned codePage : {1200u, 1201u, 12345u, 0u})
    EXPECT_EQ(DecodeCodePage(codePage, bytes), ansi) << codePage;
}

TEST(CodePageConverter, BytesThatDoNotMapNeverFail) {
  EXPECT_EQ(DecodeCodePage(932, ""), u"");
  for (const std::string bytes : {"A\x82", "A\xFF\xFF", "A\x1B$B"}) {
    const std::u16string text = DecodeCodePage(932, bytes);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text[0], u'A');
  }
}

}  // namespace
}  // namespace vespera
