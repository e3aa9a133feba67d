#include "common/FileUtilities.h"

#include "common/Folders.h"
#include "support/TempFolder.h"
#include "unit/TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <vector>

namespace vespera {
namespace {

namespace fs = std::filesystem;

class FileUtilitiesTest : public ::testing::Test {
 protected:
  std::u16string PathOf(std::u16string_view relative) const { return temp_.File(NativeSeparators(relative)); }

  // Creates the files (and folders, for names ending in a separator) below the temp folder.
  void Create(std::initializer_list<std::u16string_view> names) const {
    for (const auto name : names) {
      if (name.ends_with(u'\\')) {
        fs::create_directories(fs::path(PathOf(name)));
      } else {
        fs::create_directories(fs::path(PathOf(name)).parent_path());
        test::WriteBytes(fs::path(PathOf(name)), "content of " + fs::path(name).string());
      }
    }
  }

  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::recursive_directory_iterator(temp_.Path()), {}));
  }

  test::TempFolder temp_;
};

TEST_F(FileUtilitiesTest, MakeUniqueFileNameNumbersFromTheNameAsGiven) {
  struct Case {
    std::initializer_list<std::u16string_view> existing;
    std::u16string_view path;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {{}, u"x\\a.mcm", u"x\\a.mcm"},
      {{u"x\\a.mcm"}, u"x\\a.mcm", u"x\\a(1).mcm"},
      {{u"x\\a.mcm", u"x\\a(1).mcm"}, u"x\\a.mcm", u"x\\a(2).mcm"},
      {{u"x\\a.mcm", u"x\\a(2).mcm"}, u"x\\a.mcm", u"x\\a(1).mcm"},
      {{u"x\\a.mcm\\"}, u"x\\a.mcm", u"x\\a(1).mcm"},
      {{u"x\\notes"}, u"x\\notes", u"x\\notes(1)"},
      {{u"x.y\\readme"}, u"x.y\\readme", u"x.y\\readme(1)"},
      {{u"x\\a.b.c"}, u"x\\a.b.c", u"x\\a.b(1).c"},
  };
  for (const auto& c : cases) {
    fs::remove_all(temp_.Path());
    fs::create_directories(temp_.Path());
    Create(c.existing);
    EXPECT_EQ(MakeUniqueFileName(PathOf(c.path)), PathOf(c.expected)) << fs::path(c.path);
  }
}

TEST_F(FileUtilitiesTest, CopyToUniqueFileNeverOverwrites) {
  Create({u"source.mcm", u"macros\\a.mcm", u"macros\\a(1).mcm"});
  const std::u16string written = CopyToUniqueFile(PathOf(u"source.mcm"), PathOf(u"macros\\a.mcm"));
  EXPECT_EQ(written, PathOf(u"macros\\a(2).mcm"));
  EXPECT_EQ(test::ReadBytes(fs::path(written)), "content of source.mcm");
  EXPECT_EQ(test::ReadBytes(fs::path(PathOf(u"macros\\a.mcm"))), "content of macros\\a.mcm");
}

TEST_F(FileUtilitiesTest, CopyToUniqueFileWritesAFreeTargetItself) {
  Create({u"source.mcm", u"macros\\"});
  EXPECT_EQ(CopyToUniqueFile(PathOf(u"source.mcm"), PathOf(u"macros\\b.mcm")), PathOf(u"macros\\b.mcm"));
  EXPECT_EQ(test::ReadBytes(fs::path(PathOf(u"macros\\b.mcm"))), "content of source.mcm");
}

TEST_F(FileUtilitiesTest, CopyToUniqueFileStopsWhenTheCopyItselfFails) {
  struct Case {
    const char* name;
    std::u16string_view source;
    std::u16string_view target;
  };
  const Case cases[] = {
      {"missing source, free target", u"missing.mcm", u"macros\\new.mcm"},
      {"missing source, taken target", u"missing.mcm", u"macros\\a.mcm"},
      {"missing target folder", u"source.mcm", u"nowhere\\a.mcm"},
  };
  Create({u"source.mcm", u"macros\\a.mcm"});
  const size_t entriesBefore = EntryCount();
  for (const auto& c : cases) {
    EXPECT_EQ(CopyToUniqueFile(PathOf(c.source), PathOf(c.target)), u"") << c.name;
    EXPECT_EQ(EntryCount(), entriesBefore) << c.name << ": no file was left behind";
  }
}

TEST_F(FileUtilitiesTest, DeleteFolderTreeRemovesEverythingBelowAndTheFolder) {
  for (const std::u16string_view folder : {u"tree", u"tree\\"}) {
    Create({u"tree\\a.txt", u"tree\\sub\\b.txt", u"tree\\sub\\deeper\\c.txt", u"tree\\empty\\", u"tree\\ro.txt"});
    fs::permissions(fs::path(PathOf(u"tree\\ro.txt")), fs::perms::owner_write | fs::perms::group_write |
                                                           fs::perms::others_write, fs::perm_options::remove);
    EXPECT_TRUE(DeleteFolderTree(PathOf(folder))) << fs::path(folder);
    EXPECT_FALSE(fs::exists(fs::path(PathOf(u"tree"))));
  }
}

// Deeper than the old fixed path buffers of 200 and 260 characters.
TEST_F(FileUtilitiesTest, DeleteFolderTreeHandlesLongPaths) {
  std::u16string deepest = u"tree\\";
  for (int level = 0; level < 40; ++level) deepest += u"level_" + fs::path(std::to_string(level)).u16string() + u"\\";
  Create({deepest, deepest + u"file.txt"});
  ASSERT_GT(PathOf(deepest).size(), 300u);
  EXPECT_TRUE(DeleteFolderTree(PathOf(u"tree")));
  EXPECT_FALSE(fs::exists(fs::path(PathOf(u"tree"))));
}

TEST_F(FileUtilitiesTest, DeleteFolderTreeRefusesWhatItCannotDelete) {
  EXPECT_FALSE(DeleteFolderTree(u""));
  EXPECT_FALSE(DeleteFolderTree(PathOf(u"missing")));
  Create({u"file.txt"});
  EXPECT_FALSE(DeleteFolderTree(PathOf(u"file.txt")));
  EXPECT_TRUE(fs::exists(fs::path(PathOf(u"file.txt"))));
}

#ifndef _WIN32
TEST_F(FileUtilitiesTest, DeleteFolderTreeRemovesLinksWithoutFollowingThem) {
  Create({u"outside\\keep.txt", u"tree\\"});
  fs::create_directory_symlink(fs::path(PathOf(u"outside")), fs::path(PathOf(u"tree\\link")));
  EXPECT_TRUE(DeleteFolderTree(PathOf(u"tree")));
  EXPECT_FALSE(fs::exists(fs::path(PathOf(u"tree"))));
  EXPECT_TRUE(fs::exists(fs::path(PathOf(u"outside\\keep.txt"))));
}
#endif

TEST(FileUtilities, ParseNumberReadsHexOnlyFromTheStart) {
  struct Case {
    std::u16string_view text;
    int expected;
  };
  const Case cases[] = {
      {u"0x1F", 31},        {u"12", 12},           {u" 0x10", 0},       {u"x0x10", 0},
      {u"0xff", 255},       {u"0xFFFFFFFF", -1},   {u"0x", 0},          {u"0x 1A", 26},
      {u"-7", -7},          {u"+3", 3},            {u"  42", 42},       {u"12abc", 12},
      {u"abc", 0},          {u"", 0},              {u"0X1F", 0},        {u"99999999999", INT_MAX},
      {u"-99999999999", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseNumber(c.text), c.expected) << fs::path(c.text);
}

}  // namespace
}  // namespace vespera
