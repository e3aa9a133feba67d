#include "common/ProfileText.h"

#include "common/TextUtf.h"
#include "unit/TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace vespera {
namespace {

using test::Utf16LeBytes;

std::optional<std::string> Find(const std::string& bytes, std::u16string_view section, std::u16string_view key) {
  const auto value = ProfileDocument::FromBytes(bytes).FindValue(section, key);
  return value ? std::optional<std::string>(Utf16ToUtf8(*value)) : std::nullopt;
}

struct LookupCase {
  const char* name;
  std::u16string_view text;
  std::u16string_view section;
  std::u16string_view key;
  std::optional<std::string> expected;
};

TEST(ProfileDocument, FindsKeysAsTheProfileFunctionsDo) {
  const LookupCase cases[] = {
      {"plain", u"[Setting]\r\nProfile=2\r\n", u"Setting", u"Profile", "2"},
      {"any ASCII case", u"[Setting]\r\nProfile=2\r\n", u"sETTING", u"pROFILE", "2"},
      {"blanks around everything", u"  [ Setting ]  \r\n\t Profile \t= \t2 \x1A\r\n", u"Setting", u"Profile", "2"},
      {"blanks around the request", u"[Setting]\r\nProfile=2\r\n", u" Setting ", u" Profile ", "2"},
      {"text after the bracket", u"[Setting]junk\r\nProfile=2\r\n", u"Setting", u"Profile", "2"},
      {"last bracket closes", u"[Se]t]\r\nk=v\r\n", u"Se]t", u"k", "v"},
      {"unclosed name is a key line", u"[A]\r\n[B\r\nk=v\r\n", u"A", u"k", "v"},
      {"unclosed name opens nothing", u"[B\r\nk=v\r\n", u"B", u"k", std::nullopt},
      {"first of repeated keys", u"[A]\r\nk=1\r\nk=2\r\n", u"A", u"k", "1"},
      {"repeated section unseen", u"[A]\r\nx=1\r\n[A]\r\nk=2\r\n", u"A", u"k", std::nullopt},
      {"unnamed section first", u"k=1\r\n[A]\r\nk=2\r\n", u"", u"k", "1"},
      {"key of another section", u"[A]\r\nk=1\r\n[B]\r\n", u"B", u"k", std::nullopt},
      {"missing section", u"[A]\r\nk=1\r\n", u"C", u"k", std::nullopt},
      {"line without equals", u"[A]\r\nk\r\n", u"A", u"k", std::nullopt},
      {"empty value", u"[A]\r\nk=\r\n", u"A", u"k", ""},
      {"second equals is value", u"[A]\r\nk==v\r\n", u"A", u"k", "=v"},
      {"semicolon is no comment", u"[A]\r\n;k=v\r\n", u"A", u";k", "v"},
      {"quotes stay stored", u"[A]\r\nk=\"v\"\r\n", u"A", u"k", "\"v\""},
      {"CR line ends", u"[A]\rk=v\rj=w\r", u"A", u"j", "w"},
      {"LF line ends", u"[A]\nk=v\nj=w\n", u"A", u"j", "w"},
      {"no final line end", u"[A]\r\nk=v", u"A", u"k", "v"},
      {"NUL ends a value", std::u16string_view(u"[A]\r\nk=ab\0cd\r\nj=w", 18), u"A", u"k", "ab"},
      {"after a NUL", std::u16string_view(u"[A]\r\nk=ab\0cd\r\nj=w", 18), u"A", u"j", "w"},
      {"no-break space is text", u"[A]\r\nk=\u00A0v\r\n", u"A", u"k", "\xC2\xA0v"},
      {"only ASCII case folds", u"[\u00C9T\u00C9]\r\nk=v\r\n", u"\u00E9t\u00E9", u"k", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(Utf16LeBytes(c.text), c.section, c.key), c.expected) << c.name;
}

TEST(ProfileDocument, ReadsEveryEncodingByItsByteOrderMark) {
  struct Case {
    const char* name;
    std::string bytes;
    ProfileEncoding encoding;
    std::string expected;
  };
  const Case cases[] = {
      {"UTF-16LE", Utf16LeBytes(u"[A]\r\nk=\u00E9\r\n"), ProfileEncoding::Utf16Le, "\xC3\xA9"},
      {"UTF-16BE", std::string("\xFE\xFF\0[\0A\0]\0\n\0k\0=\0\xE9", 16), ProfileEncoding::Utf16Be, "\xC3\xA9"},
      {"UTF-8", "\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n", ProfileEncoding::Utf8, "\xC3\xA9"},
      {"code page 1252", "[A]\r\nk=\xE9\x80\r\n", ProfileEncoding::Ansi, "\xC3\xA9\xE2\x82\xAC"},
      {"UTF-16 without mark", Utf16LeBytes(u"[A]\r\nk=v\r\n", false), ProfileEncoding::Ansi, ""},
      {"odd last byte", Utf16LeBytes(u"[A]\r\nk=v") + "Z", ProfileEncoding::Utf16Le, "vZ"},
  };
  for (const auto& c : cases) {
    const ProfileDocument document = ProfileDocument::FromBytes(c.bytes);
    EXPECT_EQ(document.Encoding(), c.encoding) << c.name;
    const auto value = document.FindValue(u"A", u"k");
    EXPECT_EQ(value ? Utf16ToUtf8(*value) : "", c.expected) << c.name;
  }
}

struct WriteCase {
  const char* name;
  std::u16string_view before;
  std::u16string_view section;
  std::u16string_view key;
  std::u16string_view value;
  std::u16string_view after;
};

TEST(ProfileDocument, WritesOneLineAndKeepsTheRest) {
  const WriteCase cases[] = {
      {"new key after the section's keys", u"[A]\r\nx=1\r\n[B]\r\ny=2\r\n", u"A", u"z", u"3",
       u"[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n"},
      {"replaced value keeps the stored name", u"[A]\r\nX=1\r\n[B]\r\ny=2\r\n", u"a", u"x", u"9",
       u"[A]\r\nX=9\r\n[B]\r\ny=2\r\n"},
      {"new section at the end", u"[A]\r\nx=1\r\n", u"C", u"k", u"v", u"[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
      {"new section after an unended line", u"[A]\r\nx=1", u"C", u"k", u"v", u"[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
      {"new key after an unended line", u"[A]\r\nx=1", u"A", u"k", u"v", u"[A]\r\nx=1\r\nk=v\r\n"},
      {"into an empty document", u"", u"Setting", u"Profile", u"2", u"[Setting]\r\nProfile=2\r\n"},
      {"other lines as they were", u"; about\r\n\r\n[A]  \r\n  x  =  1  \r\n\r\n[B]\n y = 2 \n", u"B", u"y", u"3",
       u"; about\r\n\r\n[A]  \r\n  x  =  1  \r\n\r\n[B]\ny=3\n"},
      {"new key before blank lines", u"[A]\r\nx=1\r\n\r\n\r\n[B]\r\n", u"A", u"z", u"3",
       u"[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\n"},
      {"empty section", u"[A]\r\n[B]\r\n", u"A", u"k", u"v", u"[A]\r\nk=v\r\n[B]\r\n"},
      {"leading blanks of the value dropped", u"[A]\r\n", u"A", u"k", u"  v ", u"[A]\r\nk=v \r\n"},
      {"names without their blanks", u"", u" Sec ", u" k ", u"v", u"[Sec]\r\nk=v\r\n"},
      {"a key without value gets one", u"[A]\r\nk\r\n", u"A", u"k", u"v", u"[A]\r\nk=v\r\n"},
      {"first of repeated keys", u"[A]\r\nk=1\r\nk=2\r\n", u"A", u"k", u"3", u"[A]\r\nk=3\r\nk=2\r\n"},
      {"unnamed section", u"x=1\r\n[A]\r\n", u"", u"k", u"v", u"x=1\r\nk=v\r\n[A]\r\n"},
  };
  for (const auto& c : cases) {
    ProfileDocument document = ProfileDocument::FromBytes(Utf16LeBytes(c.before));
    EXPECT_TRUE(document.SetValue(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(Utf16ToUtf8(test::Utf16LeText(document.ToBytes())), Utf16ToUtf8(u"\uFEFF" + std::u16string(c.after)))
        << c.name;
  }
}

TEST(ProfileDocument, SameValueChangesNothing) {
  ProfileDocument document = ProfileDocument::FromBytes(Utf16LeBytes(u"[A]\r\n  x  =  1  \r\n"));
  EXPECT_FALSE(document.SetValue(u"A", u"x", u"1"));
  EXPECT_EQ(document.ToBytes(), Utf16LeBytes(u"[A]\r\n  x  =  1  \r\n"));
}

TEST(ProfileDocument, RewriteKeepsTheFilesEncoding) {
  struct Case {
    const char* name;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"code page 1252, '?' for the rest", "[A]\r\nx=\xE9\r\n", "[A]\r\nx=\xE9\r\nk=\xE9\x80?\r\n"},
      {"UTF-8", "\xEF\xBB\xBF[A]\r\n", "\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\xE2\x82\xAC\xE3\x81\x82\r\n"},
      {"UTF-16BE", std::string("\xFE\xFF\0[\0A\0]", 8),
       std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0\xE9\x20\xAC\x30\x42\0\r\0\n", 26)},
  };
  for (const auto& c : cases) {
    ProfileDocument document = ProfileDocument::FromBytes(c.before);
    document.SetValue(u"A", u"k", u"\u00E9\u20AC\u3042");
    EXPECT_EQ(document.ToBytes(), c.after) << c.name;
  }
}

TEST(ProfileDocument, UnchangedUtf16TextIsWrittenBackByteForByte) {
  std::u16string text = u"x\r\r\n[A\n]";
  text += {u'\0', char16_t(0xD800), u'=', u'\r'};  // a NUL and a lone surrogate among the lines
  const std::string bytes = Utf16LeBytes(text);
  EXPECT_EQ(ProfileDocument::FromBytes(bytes).ToBytes(), bytes);
}

TEST(ProfileStringResult, RemovesMatchingQuotesAndCutsToTheBuffer) {
  struct Case {
    const char* name;
    std::optional<std::u16string> stored;
    std::u16string_view defaultText;
    size_t capacity;
    std::u16string expected;
  };
  const Case cases[] = {
      {"stored", u"value", u"d", 4096, u"value"},
      {"default", std::nullopt, u"d", 4096, u"d"},
      {"double quotes", u"\"a b\"", u"", 4096, u"a b"},
      {"single quotes", u"'a b'", u"", 4096, u"a b"},
      {"unmatched quotes", u"\"a b'", u"", 4096, u"\"a b'"},
      {"lone quote", u"\"", u"", 4096, u"\""},
      {"empty quotes", u"\"\"", u"", 4096, u""},
      {"inner quotes", u"a\"b\"", u"", 4096, u"a\"b\""},
      {"quoted default", std::nullopt, u"\"d\"", 4096, u"d"},
      {"default's trailing spaces", std::nullopt, u"  d  ", 4096, u"  d"},
      {"default's trailing tab stays", std::nullopt, u"d\t", 4096, u"d\t"},
      {"cut", u"abcdef", u"", 4, u"abc"},
      {"quoted and cut", u"\"abcdef\"", u"", 4, u"abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(ProfileStringResult(c.stored, c.defaultText, c.capacity)), Utf16ToUtf8(c.expected))
        << c.name;
  }
}

TEST(ProfileIntResult, ReadsTheLeadingNumber) {
  struct Case {
    std::optional<std::u16string> stored;
    int expected;
  };
  const Case cases[] = {
      {u"12", 12},          {u"  12", 12},       {u"+7", 7},          {u"-5", -5},
      {u"12abc", 12},       {u"abc", 0},         {u"1 2", 1},         {u"-  5", 0},
      {u"+-3", 0},          {u"0x1F", 31},       {u"0X1F", 0},        {u"0xAbC", 2748},
      {u"-0x10", -16},      {u"0b101", 5},       {u"0o17", 15},       {u"017", 17},
      {u"\"42\"", 42},      {u"4294967295", -1}, {u"4294967296", 0},  {u"2147483648", INT32_MIN},
      {u"\uFF11", 0},       {u"", 77},           {u"\"\"", 77},       {std::nullopt, 77},
      {u"00000000000000000000000000001" u"2", 1},  // only the first 29 characters count
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileIntResult(c.stored, 77), c.expected) << (c.stored ? Utf16ToUtf8(*c.stored) : "absent");
  }
}

TEST(ProfileStruct, EncodesBytesWithTheirChecksum) {
  const std::array<std::uint8_t, 3> bytes = {0x01, 0x02, 0x03};
  EXPECT_EQ(EncodeProfileStruct(bytes), u"01020306");
  const std::array<std::uint8_t, 2> high = {0xFF, 0xFE};
  EXPECT_EQ(EncodeProfileStruct(high), u"FFFEFD");
  EXPECT_EQ(EncodeProfileStruct({}), u"00");
}

TEST(ProfileStruct, DecodesOnlyABlockOfTheRightSizeAndChecksum) {
  struct Case {
    std::u16string_view text;
    bool decoded;
  };
  const Case cases[] = {
      {u"01020306", true},   {u"0a0b0c21", true},   {u"01020307", false},   {u"010206", false},
      {u"0102030406", false}, {u"010203066", false}, {u"01G20306", false},  {u"\"01020306\"", false},
      {u"01 020306", false},  {u"", false},
  };
  for (const auto& c : cases) {
    std::array<std::uint8_t, 3> buffer = {0xEE, 0xEE, 0xEE};
    EXPECT_EQ(DecodeProfileStruct(c.text, buffer), c.decoded) << Utf16ToUtf8(c.text);
    if (!c.decoded) {
      EXPECT_EQ(buffer, (std::array<std::uint8_t, 3>{0xEE, 0xEE, 0xEE})) << Utf16ToUtf8(c.text);
    }
  }
  std::array<std::uint8_t, 3> buffer{};
  ASSERT_TRUE(DecodeProfileStruct(u"0a0b0c21", buffer));
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 3>{0x0A, 0x0B, 0x0C}));
}

}  // namespace
}  // namespace vespera
