#include "common/FileUtilities.h"
#include "common/Digits.h"

#include "common/Folders.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace vespera {

namespace fs = std::filesystem;

namespace {

struct SplitPath {
  std::u16string stem;       // folder and name
  std::u16string extension;  // from the name's last '.', or empty
};

SplitPath SplitExtension(std::u16string_view path) {
  size_t nameStart = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsPathSeparator(path[i])) nameStart = i + 1;
  }
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || dot < nameStart) return {std::u16string(path), {}};
  return {std::u16string(path.substr(0, dot)), std::u16string(path.substr(dot))};
}

// The n-th name to try: the path itself for 0, then name(1), name(2), ...
std::u16string NumberedName(const SplitPath& split, unsigned long n) {
  if (n == 0) return split.stem + split.extension;
  std::u16string number;
  for (const char c : std::to_string(n)) number.push_back(static_cast<char16_t>(c));
  return split.stem + u"(" + number + u")" + split.extension;
}

// Anything at all under the name, a dangling link included. A name whose state cannot
// be read counts as free: the write that follows will report the problem.
bool IsTaken(const std::u16string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(fs::path(path), error));
}

bool IsRootOrEmpty(std::u16string_view folder) {
  return folder.empty() || !fs::path(folder).has_relative_path();
}

std::u16string WithTrailingSeparator(std::u16string folder) {
  if (!IsPathSeparator(folder.back())) folder.push_back(kPathSeparator);
  return folder;
}

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

std::u16string_view SkipSpaces(std::u16string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

// Reads an optional sign; true for '-'.
bool ReadSign(std::u16string_view& text) {
  if (text.empty() || (text.front() != u'-' && text.front() != u'+')) return false;
  const bool negative = text.front() == u'-';
  text.remove_prefix(1);
  return negative;
}

// What "%x" reads: blanks, a sign, an optional 0x, hex digits; a value beyond 32 bits
// stays at 0xFFFFFFFF, and the bits are returned as an int.
int ScanHex(std::u16string_view text) {
  text = SkipSpaces(text);
  const bool negative = ReadSign(text);
  if (text.starts_with(u"0x") || text.starts_with(u"0X")) {
    if (text.size() > 2 && DigitValue(text[2], 16) >= 0) text.remove_prefix(2);
  }
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    const int digit = DigitValue(c, 16);
    if (digit < 0) break;
    value = std::min<std::uint64_t>(0xFFFFFFFF, value * 16 + static_cast<unsigned>(digit));
  }
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<int>(bits);
}

// Blanks, a sign and decimal digits; out-of-range values stay at INT_MIN or INT_MAX.
int ScanDecimal(std::u16string_view text) {
  text = SkipSpaces(text);
  const bool negative = ReadSign(text);
  std::int64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = std::min<std::int64_t>(std::int64_t{INT_MAX} + 1, value * 10 + (c - u'0'));
  }
  if (negative) return static_cast<int>(-value);
  return static_cast<int>(std::min<std::int64_t>(INT_MAX, value));
}

}  // namespace

std::u16string MakeUniqueFileName(std::u16string_view path) {
  const SplitPath split = SplitExtension(path);
  for (unsigned long n = 0;; ++n) {
    std::u16string candidate = NumberedName(split, n);
    if (!IsTaken(candidate)) return candidate;
  }
}

std::u16string CopyToUniqueFile(std::u16string_view source, std::u16string_view target) {
  const SplitPath split = SplitExtension(target);
  for (unsigned long n = 0;; ++n) {
    std::u16string candidate = NumberedName(split, n);
    if (IsTaken(candidate)) continue;
    std::error_code error;
    if (fs::copy_file(fs::path(source), fs::path(candidate), fs::copy_options::none, error)) {
      return candidate;
    }
    // Someone took the name in the meantime: go on. Any other failure ends the search.
    if (error != std::errc::file_exists) return {};
  }
}

// Works with its own stack rather than recursion, so that a very deep tree cannot
// exhaust the thread's stack.
bool DeleteFolderTree(std::u16string_view folder) {
  if (IsRootOrEmpty(folder)) return false;
  struct Pending {
    std::u16string folder;  // with a trailing separator
    bool emptied = false;
  };
  std::vector<Pending> pending{{WithTrailingSeparator(std::u16string(folder))}};
  bool removed = false;
  while (!pending.empty()) {
    const size_t top = pending.size() - 1;
    if (pending[top].emptied) {
      const std::u16string& path = pending[top].folder;
      removed = platform::RemoveEmptyFolder(path.substr(0, path.size() - 1));
      pending.pop_back();
      continue;
    }
    pending[top].emptied = true;
    const std::u16string parent = pending[top].folder;
    for (const auto& entry : platform::ListFolder(parent).value_or(std::vector<platform::FolderEntry>{})) {
      if (entry.isFolder) pending.push_back({parent + entry.name + kPathSeparator});
      else platform::DeleteFileForced(parent + entry.name);
    }
  }
  return removed;
}

int ParseNumber(std::u16string_view text) {
  if (text.find(u"0x") == std::u16string_view::npos) return ScanDecimal(text);
  return text.starts_with(u"0x") ? ScanHex(text.substr(2)) : 0;
}

}  // namespace vespera
