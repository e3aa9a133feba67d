// The host build has no debugger output; standard error stands in when asked for.
#include "common/DebugLog.h"

#include "common/TextUtf.h"

#include <cstdio>
#include <cstdlib>

namespace vespera::platform {

void WriteDebuggerOutput(std::u16string_view line) {
  if (!std::getenv("VESPERA_DEBUG_STDERR")) return;
  const std::string text = Utf16ToUtf8(line);
  std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace vespera::platform
