// The behaviour every build's IniFile shares: on Windows the platform's profile
// functions, on the host ProfileDocument.
#include "common/IniFile.h"

#include "common/TextUtf.h"
#include "support/TempFolder.h"
#include "unit/TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>

namespace vespera {
namespace {

namespace fs = std::filesystem;
using test::Utf16LeBytes;

class IniFileTest : public ::testing::Test {
 protected:
  // The file's text after its byte-order mark, as UTF-8 for readable failures.
  std::string StoredText() const {
    const std::string bytes = test::ReadBytes(fs::path(ini_.Path()));
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << "the file starts with FF FE";
    return Utf16ToUtf8(test::Utf16LeText(bytes.substr(2)));
  }
  void Store(std::string_view bytes) const { test::WriteBytes(fs::path(ini_.Path()), bytes); }

  test::TempFolder temp_;
  IniFile ini_{temp_.File(u"config.ini")};
};

TEST_F(IniFileTest, MissingFileReadsDefaults) {
  std::array<std::uint8_t, 3> block = {7, 7, 7};
  EXPECT_EQ(ini_.ReadString(u"Setting", u"Name", u"none"), u"none");
  EXPECT_EQ(ini_.ReadInt(u"Setting", u"EnableTray", 1), 1);
  EXPECT_FALSE(ini_.ReadStruct(u"Profile", u"Block", block));
  EXPECT_EQ(block, (std::array<std::uint8_t, 3>{7, 7, 7}));
  EXPECT_FALSE(fs::exists(fs::path(ini_.Path()))) << "reading creates nothing";
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileInUtf16) {
  EXPECT_TRUE(ini_.WriteString(u"Setting", u"Name", u"Gaming"));
  EXPECT_EQ(StoredText(), "[Setting]\r\nName=Gaming\r\n");
}

TEST_F(IniFileTest, WriteIntStoresSignedDecimal) {
  ini_.WriteInt(u"Setting", u"Profile", -5);
  EXPECT_EQ(StoredText(), "[Setting]\r\nProfile=-5\r\n");
  EXPECT_EQ(ini_.ReadInt(u"Setting", u"Profile", 0), -5);
  EXPECT_EQ(ini_.ReadString(u"Setting", u"Profile", u""), u"-5");
}

TEST_F(IniFileTest, WritesKeepOtherSectionsAndKeysInOrder) {
  Store(Utf16LeBytes(u"[Setting]\r\nProfile=1\r\nEnableTray=1\r\n[Link]\r\nApp=a.exe\r\n"));
  ini_.WriteInt(u"Setting", u"Profile", 3);
  ini_.WriteString(u"Setting", u"Language", u"EN");
  ini_.WriteString(u"Extra", u"Key", u"v");
  EXPECT_EQ(StoredText(),
            "[Setting]\r\nProfile=3\r\nEnableTray=1\r\nLanguage=EN\r\n[Link]\r\nApp=a.exe\r\n[Extra]\r\nKey=v\r\n");
}

TEST_F(IniFileTest, ReadsAsTheProfileFunctionsDo) {
  Store(Utf16LeBytes(u"[setting]\r\n  PROFILE = 4 \r\nName=\"My Profile\"\r\nLink=  C:\\a b\\c.exe  \r\n"
                     u"Empty=\r\nNoValue\r\n"));
  EXPECT_EQ(ini_.ReadInt(u"Setting", u"Profile", 0), 4) << "names ignore case and blanks";
  EXPECT_EQ(ini_.ReadString(u"Setting", u"Name", u""), u"My Profile") << "quotes come off";
  EXPECT_EQ(ini_.ReadString(u"Setting", u"Link", u""), u"C:\\a b\\c.exe") << "blanks around the value go";
  EXPECT_EQ(ini_.ReadString(u"Setting", u"Empty", u"d"), u"") << "an empty value is a value";
  EXPECT_EQ(ini_.ReadInt(u"Setting", u"Empty", 9), 9) << "but no number";
  EXPECT_EQ(ini_.ReadString(u"Setting", u"NoValue", u"d"), u"d") << "a line without '=' is no value";
  EXPECT_EQ(ini_.ReadString(u"Other", u"Name", u"d"), u"d");
}

TEST_F(IniFileTest, ReadIntTakesTheLeadingNumber) {
  struct Case {
    std::u16string_view stored;
    int expected;
  };
  const Case cases[] = {{u"12", 12}, {u"  12", 12}, {u"+7", 7}, {u"-5", -5}, {u"12abc", 12}, {u"abc", 0}};
  for (const auto& c : cases) {
    ini_.WriteString(u"Setting", u"Value", c.stored);
    EXPECT_EQ(ini_.ReadInt(u"Setting", u"Value", 99), c.expected) << Utf16ToUtf8(c.stored);
  }
}

TEST_F(IniFileTest, WrittenValueLosesItsLeadingBlanks) {
  ini_.WriteString(u"Setting", u"Name", u"   Gaming");
  EXPECT_EQ(ini_.ReadString(u"Setting", u"Name", u""), u"Gaming");
}

TEST_F(IniFileTest, LongValueIsCutTo4095Characters) {
  ini_.WriteString(u"Profile", u"Name", std::u16string(5000, u'n'));
  EXPECT_EQ(ini_.ReadString(u"Profile", u"Name", u""), std::u16string(4095, u'n'));
}

TEST_F(IniFileTest, StructIsStoredAsHexWithChecksum) {
  const std::array<std::uint8_t, 3> block = {0x01, 0x02, 0x03};
  ASSERT_TRUE(ini_.WriteStruct(u"Profile", u"Block", block));
  EXPECT_EQ(StoredText(), "[Profile]\r\nBlock=01020306\r\n");
  std::array<std::uint8_t, 3> read{};
  EXPECT_TRUE(ini_.ReadStruct(u"Profile", u"Block", read));
  EXPECT_EQ(read, block);
}

TEST_F(IniFileTest, LargeStructReadsBack) {
  std::array<std::uint8_t, 1000> block{};
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7 + 1);
  ini_.WriteStruct(u"Profile", u"Block", block);
  std::array<std::uint8_t, 1000> read{};
  EXPECT_TRUE(ini_.ReadStruct(u"Profile", u"Block", read));
  EXPECT_EQ(read, block);
}

TEST_F(IniFileTest, DamagedStructFailsAndLeavesTheBuffer) {
  const std::u16string_view damaged[] = {
      u"01020307",    // one digit changed
      u"01120306",    // a data digit changed
      u"010206",      // too short
      u"0102030406",  // too long
      u"",
  };
  for (const auto text : damaged) {
    Store(Utf16LeBytes(u"[Profile]\r\nBlock=" + std::u16string(text) + u"\r\n"));
    std::array<std::uint8_t, 3> read = {0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(ini_.ReadStruct(u"Profile", u"Block", read)) << Utf16ToUtf8(text);
    EXPECT_EQ(read, (std::array<std::uint8_t, 3>{0xEE, 0xEE, 0xEE})) << Utf16ToUtf8(text);
  }
}

// An empty file would otherwise be kept as single-byte text, losing every character
// outside its code page on the next write.
TEST_F(IniFileTest, EmptyFileIsWrittenInUtf16) {
  Store("");
  ini_.WriteString(u"Profile", u"Name", u"\u30D7\u30ED\u30D5\u30A1\u30A4\u30EB");
  EXPECT_EQ(StoredText(), "[Profile]\r\nName=\xE3\x83\x97\xE3\x83\xAD\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\r\n");
  EXPECT_EQ(ini_.ReadString(u"Profile", u"Name", u""), u"\u30D7\u30ED\u30D5\u30A1\u30A4\u30EB");
}

TEST_F(IniFileTest, WriteIntoAMissingFolderFails) {
  const IniFile lost(temp_.File(u"missing/config.ini"));
  EXPECT_FALSE(lost.WriteString(u"Setting", u"Name", u"x"));
  EXPECT_FALSE(fs::exists(temp_.Path() / "missing"));
}

std::string RandomBytes(size_t count) {
  std::mt19937 generator(914);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator());
  return bytes;
}

// Whatever a damaged file holds, reading answers what it can and writing still works.
TEST_F(IniFileTest, BadFilesNeverStopReadsOrWrites) {
  struct Case {
    const char* name;
    std::string bytes;
    int expectedProfile;
  };
  const std::string megaLine = "[Setting]\r\nProfile=3\r\nName=" + std::string(1'000'000, 'x') + "\r\n";
  const Case cases[] = {
      {"empty", "", 1},
      {"without byte-order mark", "[Setting]\r\nProfile=3\r\n", 3},
      {"odd length", Utf16LeBytes(u"[Setting]\r\nProfile=3\r\n") + "\x41", 3},
      {"cut in the middle", Utf16LeBytes(u"[Setting]\r\nProfile=3\r\nName=Ga"), 3},
      {"UTF-16 without mark", Utf16LeBytes(u"[Setting]\r\nProfile=3\r\n", false), 1},
      {"binary", RandomBytes(64 * 1024), 1},
      {"mark only", "\xFF\xFE", 1},
      {"one line of a million characters", megaLine, 3},
      {"a million characters in UTF-16", Utf16LeBytes(Utf8ToUtf16(megaLine)), 3},
  };
  for (const auto& c : cases) {
    Store(c.bytes);
    EXPECT_EQ(ini_.ReadInt(u"Setting", u"Profile", 1), c.expectedProfile) << c.name;
    EXPECT_LE(ini_.ReadString(u"Setting", u"Name", u"").size(), IniFile::kMaxValueLength) << c.name;
    EXPECT_TRUE(ini_.WriteInt(u"Setting", u"EnableTray", 0)) << c.name;
    EXPECT_EQ(ini_.ReadInt(u"Setting", u"EnableTray", 1), 0) << c.name;
  }
}

}  // namespace
}  // namespace vespera
