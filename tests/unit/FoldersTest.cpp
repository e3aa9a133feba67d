#include "common/Folders.h"

#include "support/TempFolder.h"
#include "unit/FolderOverrides.h"
#include "unit/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vespera {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
const char16_t* const kTestProgram = u"unit_tests.exe";
#else
const char16_t* const kTestProgram = u"unit_tests";
#endif

TEST(Folders, ProgramFolderHoldsTheRunningProgram) {
  const std::u16string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(IsPathSeparator(folder.back()));
  EXPECT_TRUE(fs::is_regular_file(fs::path(folder + kTestProgram)));
}

TEST(Folders, NativeSeparatorsSuitTheBuild) {
#ifdef _WIN32
  EXPECT_EQ(NativeSeparators(u"\\KALDOREX\\Macros\\"), u"\\KALDOREX\\Macros\\");
#else
  EXPECT_EQ(NativeSeparators(u"\\KALDOREX\\Macros\\"), u"/KALDOREX/Macros/");
#endif
}

class DataFolderTest : public ::testing::Test {
 protected:
  fs::path Below(std::u16string_view relative) const {
    return fs::path(base_ + NativeSeparators(relative));
  }

  test::TempFolder temp_;
  // A base that does not exist yet, as on a first start.
  std::u16string base_ = (temp_.Path() / "Roaming").u16string();
  test::ScopedFolderOverrides overrides_{{.appData = base_, .desktop = std::nullopt}};
};

TEST_F(DataFolderTest, CreatesTheDataFolderAndItsSubFolders) {
  const std::u16string relatives[] = {
      std::u16string(kDataFolderRelative),
      std::u16string(kDataFolderRelative) + u"Macros\\",
      std::u16string(kDataFolderRelative) + u"Profiles\\",
      std::u16string(kDataFolderRelative) + u"MousePads\\",
  };
  for (const auto& relative : relatives) {
    EXPECT_EQ(EnsureDataFolder(relative), base_ + NativeSeparators(relative));
    EXPECT_TRUE(fs::is_directory(Below(relative)));
  }
  EXPECT_EQ(DataFolder(), base_ + NativeSeparators(kDataFolderRelative));
}

TEST_F(DataFolderTest, KeepsAnExistingFolderAndItsFiles) {
  fs::create_directories(Below(kDataFolderRelative));
  const fs::path config = Below(kDataFolderRelative) / "config.ini";
  test::WriteBytes(config, "settings");
  EnsureDataFolder(kDataFolderRelative);
  EXPECT_EQ(test::ReadBytes(config), "settings");
}

TEST_F(DataFolderTest, ReplacesAPlainFileStandingWhereAFolderBelongs) {
  for (const std::u16string_view blocked : {u"\\KALDOREX\\VESPERA CONTROL 2.2", u"\\KALDOREX"}) {
    fs::remove_all(base_);
    fs::create_directories(Below(blocked).parent_path());
    test::WriteBytes(Below(blocked), "not a folder");
    EnsureDataFolder(kDataFolderRelative);
    EXPECT_TRUE(fs::is_directory(Below(kDataFolderRelative))) << Below(blocked);
  }
}

TEST(Folders, UnknownApplicationDataFolderCreatesNothing) {
  const test::ScopedFolderOverrides overrides({.appData = u"", .desktop = std::nullopt});
  EXPECT_EQ(EnsureDataFolder(kDataFolderRelative), u"");
  EXPECT_EQ(DataFolder(), u"");
  EXPECT_FALSE(fs::exists(fs::current_path() / "KALDOREX"));
  EXPECT_FALSE(fs::exists(fs::current_path().root_path() / "KALDOREX"));
}

#ifdef _WIN32
TEST(Folders, SystemFoldersExist) {
  EXPECT_TRUE(fs::is_directory(fs::path(AppDataFolder())));
  EXPECT_TRUE(fs::is_directory(fs::path(DesktopFolder())));
}
#else
// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name);
      saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
      if (value) setenv(name, value, 1);
      else unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(Folders, HostFoldersComeFromTheEnvironment) {
  struct Case {
    const char* appData;
    const char* xdgConfig;
    const char* desktop;
    const char* home;
    std::u16string expectedAppData;
    std::u16string expectedDesktop;
  };
  const Case cases[] = {
      {"/data/app", "/xdg", "/desk", "/home/u", u"/data/app", u"/desk"},
      {nullptr, "/xdg", nullptr, "/home/u", u"/xdg", u"/home/u"},
      {nullptr, nullptr, nullptr, "/home/u", u"/home/u/.config", u"/home/u"},
      {nullptr, nullptr, nullptr, nullptr, u"", u""},
  };
  for (const auto& c : cases) {
    const ScopedEnvironment environment({{"VESPERA_APPDATA", c.appData},
                                         {"XDG_CONFIG_HOME", c.xdgConfig},
                                         {"VESPERA_DESKTOP", c.desktop},
                                         {"HOME", c.home}});
    EXPECT_EQ(AppDataFolder(), c.expectedAppData);
    EXPECT_EQ(DesktopFolder(), c.expectedDesktop);
  }
}
#endif

}  // namespace
}  // namespace vespera
