#pragma once
// A fresh, empty folder for one test, removed with everything in it afterwards.

#include <filesystem>
#include <string>

namespace vespera::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder with a file name below it, as the core's UTF-16 text
  // (native separators, so the win32 build sees backslashes).
  std::u16string File(std::u16string_view name) const;
  // Writes raw bytes to a file below the folder and returns its full path.
  std::u16string WriteFile(std::u16string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file as raw bytes (empty when it cannot be read).
std::string ReadBytes(const std::filesystem::path& file);

}  // namespace vespera::test
