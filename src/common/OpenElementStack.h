#pragma once
// The elements the parser has opened and not yet closed, innermost on top.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vespera {

struct OpenElement {
  uint32_t element;
  std::u16string_view name;  // points into the document's text
};

class OpenElementStack {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  void Push(OpenElement open);
  // Removes the entries at this depth and above.
  void PopTo(size_t depth);
  void Clear() { PopTo(0); }

  size_t Depth() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const OpenElement& At(size_t depth) const { return entries_[depth]; }
  const OpenElement& Top() const { return entries_.back(); }

  // The depth of the innermost open element with this name, or npos.
  size_t FindInnermost(std::u16string_view name);

 private:
  void StartCountingNames();

  std::vector<OpenElement> entries_;
  // Once an end tag has been looked for deep in the stack, the open names are
  // counted, so that end tags matching nothing cost no walk through a deep stack.
  std::unordered_map<std::u16string_view, uint32_t> openNames_;
  bool countingNames_ = false;
};

}  // namespace vespera
