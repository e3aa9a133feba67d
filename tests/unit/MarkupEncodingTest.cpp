#include "common/MarkupEncoding.h"

#include <gtest/gtest.h>

#include "common/TextUtf.h"
#include "platform/CodePageConverter.h"

namespace vespera {
namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* name;
  std::string bytes;
  std::u16string report;
  std::u16string text;
  uint32_t flags;
};

TEST(MarkupEncoding, ReadsMarksDeclarationsAndUnits) {
  const ReadCase cases[] = {
      {"UTF-8 mark", "\xEF\xBB\xBF<a>\xC3\xA9</a>", u"UTF-8 BOM + length 9 to 8 wide chars ",
       u"<a>\u00E9</a>", 0x14},
      {"UTF-16LE mark", "\xFF\xFE<\0a\0/\0>\0"s, u"UTF-16LE BOM + length 4 ", u"<a/>", 0x11},
      {"UTF-16BE mark", "\xFE\xFF\0<\0a\0/\0>"s, u"UTF-16BE BOM + length 4 endian swap ", u"<a/>",
       0x90},
      {"mark alone", "\xFF\xFE", u"UTF-16LE BOM + 0 length ", u"", 0x11},
      {"empty file", "", u"ANSI 0 length ", u"", 0x10},
      {"starts with <", "<a>\xC3\xA9</a>", u"UTF-8 length 9 to 8 wide chars ", u"<a>\u00E9</a>",
       0x10},
      {"detected UTF-8", "\r\n<a>\xC3\xA9</a>",
       u"UTF-8 length 11 (used UTF-8 detection) to 10 wide chars ", u"\r\n<a>\u00E9</a>", 0x10},
      {"declared", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\xC0</a>",
       u"windows-1251 length 53 to 53 wide chars ",
       u"<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\u0410</a>", 0x10},
      {"null bytes", "<a>x\0y</a>"s, u"UTF-8 length 10 (1 nulls removed) to 9 wide chars ",
       u"<a>xy</a>", 0x10},
      {"null units", "\xFF\xFE<\0\0\0a\0"s, u"UTF-16LE BOM + length 3 (1 nulls removed) ", u"<a",
       0x11},
      {"odd-length UTF-16", "\xFF\xFE<\0a\0>"s,
       u"UTF-16LE BOM + length 2 (incomplete last unit dropped) ", u"<a", 0x11},
      // Read unit by unit, so the declaration itself turns into replacement characters.
      {"UTF-32", "<?xml encoding=UTF-32 ?>"s + "<\0\0\0\0\0\0\0\x00\xF6\x01\x00\x01\0\0"s,
       u"UTF-32 length 9 (incomplete last unit dropped) (1 nulls removed) to 9 wide chars ",
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD<\U0001F600", 0x10},
  };
  for (const auto& c : cases) {
    const DecodedMarkup decoded = DecodeMarkup(c.bytes);
    EXPECT_EQ(decoded.report, c.report) << c.name;
    EXPECT_EQ(decoded.text, c.text) << c.name;
    EXPECT_EQ(decoded.flags, c.flags) << c.name;
  }
}

TEST(MarkupEncoding, ReadsUndeclaredBytesThatAreNotUtf8AsAnsi) {
  const std::string bytes = "\n<a>caf\xE9</a>";
  const DecodedMarkup decoded = DecodeMarkup(bytes);
  EXPECT_EQ(decoded.report, u"ANSI length 12 (used UTF-8 detection) to 12 wide chars ");
  EXPECT_EQ(decoded.text, DecodeCodePage(AnsiCodePage(), bytes));
}

TEST(MarkupEncoding, UnknownOrOverlongNamesMeanAnsi) {
  const std::string longName(100, 'x');
  for (const std::string& name : {"no-such-charset"s, longName}) {
    const std::string bytes = "<?xml encoding=\"" + name + "\"?><a>\xE9</a>";
    const DecodedMarkup decoded = DecodeMarkup(bytes);
    EXPECT_EQ(decoded.text, DecodeCodePage(AnsiCodePage(), bytes));
  }
}

struct DeclarationCase {
  const char* head;
  std::u16string encoding;
};

TEST(MarkupEncoding, FindsTheDeclaredEncodingInTheHead) {
  const DeclarationCase cases[] = {
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>", u"ISO-8859-1"},
      {"<!-- first --><?xml encoding='koi8-r'?>", u"koi8-r"},
      {"<?xml version='1.0'?><?xml encoding='koi8-r'?>", u""},  // the first one stops the scan
      {"<?other encoding='gbk'?><?xml encoding='big5'?>", u"big5"},
      {"<root><?xml encoding='koi8-r'?>", u""},
      {"<html><head><meta http-equiv=\"Content-Type\" "
       "content=\"text/html; charset=windows-1250\"></head></html>",
       u"windows-1250"},
      {"<HTML><HEAD><META http-equiv='content-type' content='text/html;charset = big5'>", u"big5"},
      {"<html><meta http-equiv='refresh' content='5; charset=gbk'>"
       "<meta http-equiv='Content-Type' content='text/html; charset=euc-kr'>",
       u"euc-kr"},
      {"<html><head></head><meta http-equiv='Content-Type' content='charset=big5'>", u""},
      {"<html></p><?xml encoding='gbk'?>", u""},  // after an end tag
      {"<?xml encoding='gbk'", u""},              // cut off
      {"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(DeclaredEncoding(c.head), c.encoding) << c.head;
}

TEST(MarkupEncoding, LooksOnlyAtTheFirst1024Bytes) {
  const std::string bytes = "<!--" + std::string(1100, ' ') + "--><?xml encoding='koi8-r'?><a/>";
  EXPECT_TRUE(DecodeMarkup(bytes).report.starts_with(u"UTF-8 length"));
}

// The reader's quick path for UTF-8 must give what the general decoder gives,
// wherever a sequence, good or bad, falls among the ASCII bytes.
TEST(MarkupEncoding, DecodesUtf8LikeTheGeneralDecoder) {
  const std::string pieces[] = {"\xC3\xA9",     "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                "\x80",         "\xC3",         "\xE0\x80\x80",
                                "\xED\xA0\x80", "\xFF",         "\xC3\xA9\xFF\xE2\x82"};
  for (size_t ascii = 0; ascii < 10; ++ascii) {
    for (const std::string& first : pieces) {
      for (const std::string& second : pieces) {
        const std::string bytes = "<" + std::string(ascii, 'a') + first + "bcdefghij" + second;
        EXPECT_EQ(DecodeMarkup(bytes).text, Utf8ToUtf16(bytes)) << ascii << first << second;
      }
    }
  }
}

TEST(MarkupEncoding, TestsForUtf8AsTheReaderDoes) {
  const std::pair<std::string, bool> cases[] = {
      {"", true},
      {"plain", true},
      {"\xC3\xA9t\xE2\x82\xAC\xF0\x9F\x98\x80", true},
      {"\x80\x80", true},   // the test looks only at top bits: lenient
      {"ab\0\xFF"s, true},  // stops at the first zero byte
      {"\xF8\x88\x80\x80\x80", false},
      {"\xC3", false},
      {"\xC3"
       "A",
       false},
      {"caf\xE9 ", false},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(LooksLikeUtf8(bytes), utf8) << bytes;
}

}  // namespace
}  // namespace vespera
