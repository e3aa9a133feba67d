#pragma once
// Where the running program and the user's data live.
//
// The suite names its folders Windows-style, "\KALDOREX\VESPERA CONTROL 2.2\Macros\",
// relative to the user's roaming application-data folder. NativeSeparators turns such
// a text into the platform's form: unchanged on Windows, backslashes become '/' on the
// host build, so the same relative names work in both.
//
// Host build: the application-data folder is $VESPERA_APPDATA, else $XDG_CONFIG_HOME,
// else ~/.config; the desktop is $VESPERA_DESKTOP, else the home folder.

#include <optional>
#include <string>
#include <string_view>

namespace vespera {

#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// The data folder below the application-data folder.
inline constexpr std::u16string_view kDataFolderRelative = u"\\KALDOREX\\VESPERA CONTROL 2.2\\";

bool IsPathSeparator(char16_t c);
std::u16string NativeSeparators(std::u16string_view path);

// The folder of the running program file, with a trailing separator.
std::u16string ProgramFolder();

// The user's roaming application-data folder and desktop folder, without a trailing
// separator; empty when the system cannot say.
std::u16string AppDataFolder();
std::u16string DesktopFolder();

// The application-data folder followed by the relative path (given with backslashes,
// starting and ending with one), after creating every missing folder along it. A plain
// file standing where one of those folders belongs is deleted first. When the
// application-data folder is unknown, nothing is created and the result is empty.
std::u16string EnsureDataFolder(std::u16string_view relative);

// The data folder, with a trailing separator; computed, not created.
std::u16string DataFolder();

// Tests point the application-data and desktop folders elsewhere; an empty text stands
// for a system that cannot say. std::nullopt puts the system's folder back.
struct FolderOverrides {
  std::optional<std::u16string> appData;
  std::optional<std::u16string> desktop;
};
void SetFolderOverridesForTests(const FolderOverrides& overrides);

// What each build asks its system (src/platform/*/Folders_*.cpp).
namespace platform {
std::u16string RunningProgramFile();
std::u16string SystemAppDataFolder();
std::u16string SystemDesktopFolder();
}  // namespace platform

}  // namespace vespera
