#pragma once
// Points the application-data and desktop folders elsewhere for the length of a test.

#include "common/Folders.h"

namespace vespera::test {

class ScopedFolderOverrides {
 public:
  explicit ScopedFolderOverrides(const FolderOverrides& overrides) { SetFolderOverridesForTests(overrides); }
  ~ScopedFolderOverrides() { SetFolderOverridesForTests({}); }
  ScopedFolderOverrides(const ScopedFolderOverrides&) = delete;
  ScopedFolderOverrides& operator=(const ScopedFolderOverrides&) = delete;
};

}  // namespace vespera::test
