#pragma once
// Reads a file whole as raw bytes, telling why in the system's words when it cannot.

#include <cstdint>
#include <string>

namespace vespera {

struct WholeFile {
  bool read = false;
  std::string bytes;
  std::u16string error;  // the system's message when the file could not be read
};

// A file longer than maxBytes is not read; its error is the system's "file too large".
WholeFile ReadWholeFile(const std::u16string& path, uint64_t maxBytes);

}  // namespace vespera
