#pragma once
// The element index of a parsed document: one compact record per element,
// holding offsets into the document's text and links to its relatives.
// Records live in segments of 65,536; a full segment never moves again, so
// growing a large index copies at most one segment.

#include <cstdint>
#include <memory>
#include <vector>

namespace vespera {

// All offsets and lengths are counted in UTF-16 units of the document's text.
struct ElementRecord {
  uint32_t start = 0;       // offset of the element's "<"
  uint32_t length = 0;      // "<" to the end of the end tag (or of the start tag alone)
  uint32_t tagLengths = 0;  // low 22 bits start tag, high 10 bits end tag (0: none)
  uint32_t flags = 0;       // low 16 bits nesting level, marks above
  uint32_t parent = 0;      // 0 for a root element (entry 0 is the document)
  uint32_t firstChild = 0;
  uint32_t nextSibling = 0;
  uint32_t previousSibling = 0;  // the first child keeps the last child here

  static constexpr uint32_t kMaxStartTagLength = (1u << 22) - 1;  // 4,194,303
  static constexpr uint32_t kMaxEndTagLength = (1u << 10) - 1;    // 1,023
  static constexpr uint32_t kMaxLevel = 0xFFFF;

  static constexpr uint32_t kFirstChild = 1u << 16;
  static constexpr uint32_t kNotEnded = 1u << 17;  // lost its end tag and content
  static constexpr uint32_t kProblemsInside = 1u << 18;
  static constexpr uint32_t kIllFormed = 1u << 19;  // entry 0 only

  uint32_t StartTagLength() const { return tagLengths & kMaxStartTagLength; }
  uint32_t EndTagLength() const { return tagLengths >> 22; }
  // Callers keep the lengths within the limits above.
  void SetTagLengths(uint32_t startTag, uint32_t endTag) { tagLengths = startTag | (endTag << 22); }

  uint32_t Level() const { return flags & kMaxLevel; }
  // Levels deeper than the field can hold stay at its maximum.
  void SetLevel(uint32_t level) {
    flags = (flags & ~kMaxLevel) | (level < kMaxLevel ? level : kMaxLevel);
  }
};

class ElementIndex {
 public:
  static constexpr uint32_t kSegmentSize = 65536;

  // Leaves entry 0 alone in the index, with room for `capacity` records.
  void Reset(uint32_t capacity);

  // Appends a zeroed record and returns its element number.
  uint32_t Append();

  ElementRecord& operator[](uint32_t element) {
    return segments_[element / kSegmentSize][element % kSegmentSize];
  }
  const ElementRecord& operator[](uint32_t element) const {
    return segments_[element / kSegmentSize][element % kSegmentSize];
  }

  uint32_t Size() const { return size_; }
  uint32_t Capacity() const { return capacity_; }

 private:
  void Grow();

  std::vector<std::vector<ElementRecord>> segments_;
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;
};

}  // namespace vespera
