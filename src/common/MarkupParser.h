#pragma once
// Builds the element index of a document's text. Lenient: every element that
// can be recognised is indexed, whatever else is wrong; the first problem found
// is told in words.

#include <string>
#include <string_view>

#include "common/ElementIndex.h"

namespace vespera {

struct ParseOutcome {
  bool wellFormed = false;  // no problem found and exactly one root element
  std::u16string problem;   // the first problem, empty when none
};

// The index keeps offsets into `text`, which must outlive it unchanged.
ParseOutcome BuildElementIndex(std::u16string_view text, ElementIndex& index);

}  // namespace vespera
