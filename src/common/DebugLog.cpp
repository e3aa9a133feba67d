#include "common/DebugLog.h"

#include "common/Folders.h"
#include "common/TextUtf.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vespera {

namespace {

namespace fs = std::filesystem;

std::u16string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  const bool converted = localtime_s(&local, &now) == 0;
#else
  const bool converted = localtime_r(&now, &local) != nullptr;
#endif
  char stamp[128];
  if (!converted || std::strftime(stamp, sizeof stamp, "%m/%d %H:%M ", &local) == 0) return {};
  return std::u16string(stamp, stamp + std::char_traits<char>::length(stamp));
}

// Keeps at most kDebugMessageLimit units without splitting a surrogate pair.
std::u16string_view CutMessage(std::u16string_view message) {
  if (message.size() <= kDebugMessageLimit) return message;
  size_t length = kDebugMessageLimit;
  if (message[length - 1] >= 0xD800 && message[length - 1] <= 0xDBFF) --length;
  return message.substr(0, length);
}

void AppendToLogFile(const std::u16string& file, std::u16string_view line) {
  const fs::path path(file);
  std::error_code error;
  const auto size = fs::file_size(path, error);
  const bool isEmpty = error || size == 0;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return;
  if (isEmpty) out.write("\xFF\xFE", 2);
  std::string bytes;
  AppendUtf16Bytes(bytes, line);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

std::u16string DebugLogFile() {
  std::u16string desktop = DesktopFolder();
  if (desktop.empty()) return {};
  if (!IsPathSeparator(desktop.back())) desktop.push_back(kPathSeparator);
  return desktop + u"TQ7 debug.log";
}

void DebugLogText(std::u16string_view message) {
  std::u16string line = LocalTimeStamp();
  line += CutMessage(message);
  line += u"\r\n";
  if (const std::u16string file = DebugLogFile(); !file.empty()) AppendToLogFile(file, line);
  platform::WriteDebuggerOutput(line);
}

}  // namespace vespera
