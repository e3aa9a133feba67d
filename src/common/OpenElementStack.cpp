#include "common/OpenElementStack.h"

namespace vespera {

namespace {
constexpr size_t kShallowDepth = 32;
}

void OpenElementStack::Push(OpenElement open) {
  // Room for 6 at first, then doubled plus 6 whenever full.
  if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.capacity() * 2 + 6);
  entries_.push_back(open);
  if (countingNames_) ++openNames_[open.name];
}

void OpenElementStack::PopTo(size_t depth) {
  if (countingNames_) {
    for (size_t i = depth; i < entries_.size(); ++i) --openNames_[entries_[i].name];
  }
  entries_.resize(depth);
}

size_t OpenElementStack::FindInnermost(std::u16string_view name) {
  if (entries_.empty()) return npos;
  if (entries_.back().name == name) return entries_.size() - 1;
  if (!countingNames_ && entries_.size() > kShallowDepth) StartCountingNames();
  if (countingNames_) {
    const auto found = openNames_.find(name);
    if (found == openNames_.end() || found->second == 0) return npos;
  }
  // Found entries above the match are closed by the caller, so the walk is paid for.
  for (size_t depth = entries_.size() - 1; depth-- > 0;) {
    if (entries_[depth].name == name) return depth;
  }
  return npos;
}

void OpenElementStack::StartCountingNames() {
  countingNames_ = true;
  for (const OpenElement& open : entries_) ++openNames_[open.name];
}

}  // namespace vespera
