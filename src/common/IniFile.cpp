// The parts of IniFile that both builds share.
#include "common/IniFile.h"

#include "common/FormatText.h"

namespace vespera {

bool IniFile::WriteInt(std::u16string_view section, std::u16string_view key, int value) const {
  return WriteString(section, key, FormatText(u"%d", value));
}

}  // namespace vespera
