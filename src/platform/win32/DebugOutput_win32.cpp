#include "common/DebugLog.h"

#include "platform/win32/WideText.h"

#include <windows.h>

namespace vespera::platform {

void WriteDebuggerOutput(std::u16string_view line) {
  OutputDebugStringW(win32::Wide(std::u16string(line)));
}

}  // namespace vespera::platform
