#include "common/ElementIndex.h"

#include <gtest/gtest.h>

namespace vespera {
namespace {

TEST(ElementIndex, StartsWithEntryZeroAndTheRoomAskedFor) {
  ElementIndex index;
  index.Reset(100);
  EXPECT_EQ(index.Size(), 1u);
  EXPECT_EQ(index.Capacity(), 100u);
  EXPECT_EQ(index.Append(), 1u);
}

TEST(ElementIndex, GrowsByHalfOfTheRecordsInUse) {
  ElementIndex index;
  index.Reset(8);
  while (index.Size() < 8) index.Append();
  index.Append();
  EXPECT_EQ(index.Capacity(), 12u);
}

// Records of a full segment keep their addresses however far the index grows.
TEST(ElementIndex, NeverMovesAFullSegment) {
  ElementIndex index;
  index.Reset(8);
  while (index.Size() < ElementIndex::kSegmentSize + 10) index.Append();
  const ElementRecord* first = &index[1];
  const ElementRecord* lastOfSegment = &index[ElementIndex::kSegmentSize - 1];
  index[ElementIndex::kSegmentSize - 1].start = 42;
  while (index.Size() < 5 * ElementIndex::kSegmentSize) index.Append();
  EXPECT_EQ(&index[1], first);
  EXPECT_EQ(&index[ElementIndex::kSegmentSize - 1], lastOfSegment);
  EXPECT_EQ(index[ElementIndex::kSegmentSize - 1].start, 42u);
  EXPECT_EQ(index[5 * ElementIndex::kSegmentSize - 1].start, 0u);
}

TEST(ElementIndex, PacksTagLengthsAndLevelWithoutTouchingTheMarks) {
  ElementRecord record;
  record.SetTagLengths(ElementRecord::kMaxStartTagLength, ElementRecord::kMaxEndTagLength);
  EXPECT_EQ(record.tagLengths, 0xFFFFFFFFu);
  EXPECT_EQ(record.StartTagLength(), 4194303u);
  EXPECT_EQ(record.EndTagLength(), 1023u);
  record.flags = ElementRecord::kFirstChild | ElementRecord::kNotEnded;
  record.SetLevel(70000);
  EXPECT_EQ(record.Level(), 0xFFFFu);
  EXPECT_EQ(record.flags, ElementRecord::kFirstChild | ElementRecord::kNotEnded | 0xFFFFu);
  record.SetLevel(3);
  EXPECT_EQ(record.flags, ElementRecord::kFirstChild | ElementRecord::kNotEnded | 3u);
}

}  // namespace
}  // namespace vespera
