#include "common/ElementIndex.h"

#include <algorithm>

namespace vespera {

void ElementIndex::Reset(uint32_t capacity) {
  segments_.clear();
  size_ = 0;
  capacity_ = 0;
  const uint32_t wanted = std::max(capacity, 1u);
  while (capacity_ < wanted) {
    const uint32_t room = std::min(kSegmentSize, wanted - capacity_);
    segments_.emplace_back().reserve(room);
    capacity_ += room;
  }
  Append();
}

uint32_t ElementIndex::Append() {
  if (size_ == capacity_) Grow();
  segments_[size_ / kSegmentSize].emplace_back();
  return size_++;
}

// Grows by half of the records in use. Only the last, partly filled segment is
// re-allocated; whatever does not fit beside it goes into new segments.
void ElementIndex::Grow() {
  uint32_t extra = std::max(size_ / 2, 1u);
  std::vector<ElementRecord>& last = segments_.back();
  if (last.capacity() < kSegmentSize) {
    const uint32_t added = std::min<uint32_t>(extra, kSegmentSize - last.capacity());
    last.reserve(last.capacity() + added);
    capacity_ += added;
    extra -= added;
  }
  while (extra > 0) {
    const uint32_t room = std::min(kSegmentSize, extra);
    segments_.emplace_back().reserve(room);
    capacity_ += room;
    extra -= room;
  }
}

}  // namespace vespera
