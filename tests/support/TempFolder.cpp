#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>

namespace vespera::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("vespera-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::u16string TempFolder::File(std::u16string_view name) const {
  return (path_ / fs::path(name)).make_preferred().u16string();
}

std::u16string TempFolder::WriteFile(std::u16string_view name, std::string_view bytes) const {
  const fs::path file = path_ / fs::path(name);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return fs::path(file).make_preferred().u16string();
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vespera::test
