#include "common/DebugLog.h"

#include "common/TextUtf.h"
#include "support/TempFolder.h"
#include "unit/FolderOverrides.h"
#include "unit/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace vespera {
namespace {

namespace fs = std::filesystem;

class DebugLogTest : public ::testing::Test {
 protected:
  // The log's content after its byte-order mark, as UTF-8 for readable failures.
  std::string LogText() const {
    const std::string bytes = test::ReadBytes(logFile_);
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << "the log starts with its byte-order mark";
    return Utf16ToUtf8(test::Utf16LeText(bytes.substr(2)));
  }

  test::TempFolder desktop_;
  test::ScopedFolderOverrides overrides_{{.appData = std::nullopt, .desktop = desktop_.Path().u16string()}};
  fs::path logFile_ = desktop_.Path() / "TQ7 debug.log";
};

const std::string kStamp = R"(\d\d/\d\d \d\d:\d\d )";

TEST_F(DebugLogTest, LogFileLivesOnTheDesktop) {
  EXPECT_EQ(fs::path(DebugLogFile()), logFile_);
}

TEST_F(DebugLogTest, FirstEntryWritesByteOrderMarkAndOneStampedLine) {
  DebugLog(u"App Init");
  EXPECT_TRUE(std::regex_match(LogText(), std::regex(kStamp + "App Init\r\n"))) << LogText();
}

TEST_F(DebugLogTest, LaterEntriesAreAppended) {
  DebugLog(u"App Init");
  DebugLog(u"Open USB Driver");
  EXPECT_TRUE(std::regex_match(LogText(), std::regex(kStamp + "App Init\r\n" + kStamp + "Open USB Driver\r\n")))
      << LogText();
}

TEST_F(DebugLogTest, ArgumentsAreWrittenAsTheyAre) {
  DebugLog(u"onDevicePlug: %s (%d)", u"\\\\?\\hid#vid_0566&pid_4227#My%20Mouse%s%d", 1);
  EXPECT_TRUE(LogText().ends_with(" onDevicePlug: \\\\?\\hid#vid_0566&pid_4227#My%20Mouse%s%d (1)\r\n"))
      << LogText();
}

TEST_F(DebugLogTest, LongMessageIsCutTo1023Characters) {
  DebugLog(u"%s", std::u16string(5000, u'x'));
  const std::string text = LogText();
  EXPECT_TRUE(std::regex_match(text, std::regex(kStamp + std::string(1023, 'x') + "\r\n")))
      << text.size() << " characters";
}

TEST_F(DebugLogTest, CutNeverSplitsASurrogatePair) {
  DebugLog(u"%s", std::u16string(1022, u'x') + u"\U0001F5B1");
  EXPECT_TRUE(LogText().ends_with(" " + std::string(1022, 'x') + "\r\n"));
}

TEST_F(DebugLogTest, UnwritableLogLosesTheEntrySilently) {
  fs::create_directory(logFile_);  // a folder where the file should be
  DebugLog(u"App Init");
  EXPECT_TRUE(fs::is_directory(logFile_));
}

// Without a desktop folder the name would be "\TQ7 debug.log", in the root folder.
TEST(DebugLog, UnknownDesktopWritesNoFile) {
  const test::ScopedFolderOverrides overrides({.appData = std::nullopt, .desktop = u""});
  EXPECT_EQ(DebugLogFile(), u"");
  DebugLog(u"App Init");
  EXPECT_FALSE(fs::exists(fs::current_path().root_path() / "TQ7 debug.log"));
}

}  // namespace
}  // namespace vespera
