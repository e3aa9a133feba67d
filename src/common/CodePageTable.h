#pragma once
// The encoding names a document may declare and the Windows code pages they stand for.

#include <span>
#include <string_view>

namespace vespera {

struct CodePageName {
  std::string_view name;  // lower case
  unsigned codePage;
};

// All names of the table, sorted.
std::span<const CodePageName> CodePageNames();

// The code page of an encoding name, compared after lowering A to Z; 0 when the
// name is not in the table.
unsigned CodePageForName(std::string_view name);

}  // namespace vespera
