#pragma once
// The debug log: time-stamped UTF-16LE lines appended to "TQ7 debug.log" on the user's
// desktop and sent to the debugger output. Callers check their program's debug flag
// before logging; DebugLog itself always writes.
//
//   DebugLog(u"onDevicePlug: %s", devicePath);
//
// The message is formatted exactly once and then written as plain text, so a '%' that
// arrives inside an argument (a path holding "%20") appears unchanged.

#include "common/FormatText.h"

#include <string>
#include <string_view>

namespace vespera {

// Longest message text of one entry; a longer one is cut.
inline constexpr size_t kDebugMessageLimit = 1023;

// The log file: the desktop folder followed by "TQ7 debug.log"; empty when the desktop
// folder is unknown, and then the entry only goes to the debugger output.
std::u16string DebugLogFile();

// Stamps the message ("%m/%d %H:%M " local time), adds "\r\n" and appends the line.
// A log file that cannot be opened or written loses the entry silently.
void DebugLogText(std::u16string_view message);

template <typename... Arguments>
void DebugLog(std::u16string_view format, const Arguments&... arguments) {
  DebugLogText(FormatText(format, arguments...));
}

namespace platform {
// The debugger output: OutputDebugStringW on Windows; on the host, standard error when
// the environment variable VESPERA_DEBUG_STDERR is set, else nowhere.
void WriteDebuggerOutput(std::u16string_view line);
}  // namespace platform

}  // namespace vespera
