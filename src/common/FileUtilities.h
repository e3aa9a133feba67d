#pragma once
// Free file names, copying without overwriting, deleting a folder tree, and reading a
// number from text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vespera {

// The path itself when nothing exists there; otherwise the first free name among
// name(1), name(2), ... in the same folder with the same extension. The numbers always
// follow the name as given, never an already numbered try.
std::u16string MakeUniqueFileName(std::u16string_view path);

// Copies the source to the target, or to target(1), target(2), ... when the target is
// taken, never overwriting. Returns the path written; empty when the copy fails for any
// other reason (missing source, no access, full disk), without trying further names.
std::u16string CopyToUniqueFile(std::u16string_view source, std::u16string_view target);

// Deletes everything below the folder, read-only files included, then the folder itself;
// true when the folder is gone. Links below it are removed, never followed. An empty
// folder text or a root folder is refused and nothing is deleted.
bool DeleteFolderTree(std::u16string_view folder);

// "0x1F" -> 31 (a text holding "0x" must begin with it, else 0), "12" -> 12, "-7" -> -7;
// a text without a leading number gives 0.
int ParseNumber(std::u16string_view text);

// What each build asks its file system for DeleteFolderTree
// (src/platform/*/FileUtilities_*.cpp); paths are full, with native separators.
namespace platform {
struct FolderEntry {
  std::u16string name;
  bool isFolder = false;  // a real folder, not a link to one
};
std::optional<std::vector<FolderEntry>> ListFolder(const std::u16string& folder);
// Clears a read-only attribute first.
bool DeleteFileForced(const std::u16string& file);
bool RemoveEmptyFolder(const std::u16string& folder);
}  // namespace platform

}  // namespace vespera
