// Vexlan's end of the message log's ring (msglog/message_ring.h).
//
// The reader lays the ring out and keeps its geometry and its own position;
// from the shared memory it reads only sequence numbers, records and the
// count of lost records, and trusts none of them: whatever another process
// writes there, the reader stays inside the ring, returns only records that
// pass IsSoundRecord, and each drain ends after at most one ring's worth.
#pragma once

#include <cstdint>
#include <vector>

#include "msglog/message_ring.h"

namespace vexlan {

// A record a reader can show: a known kind and flags, a text that fits and
// is there only when flagged.
bool IsSoundRecord(const MessageRecord& record);

class RingReader {
 public:
  // Lays out a ring of `capacity` slots (IsRingCapacity) over `base`, which
  // holds RingBytes(capacity) bytes and outlives the reader, open for
  // writers, watching `target` with `flags`.
  RingReader(void* base, std::uint32_t capacity, std::uint32_t target, std::uint32_t flags);
  RingReader(const RingReader&) = delete;
  RingReader& operator=(const RingReader&) = delete;

  // Appends the sound records published since the last drain to `out`, in
  // the order writers took their places, up to one ring's worth; returns how
  // many it appended. A record that is not sound is counted lost.
  std::size_t Drain(std::vector<MessageRecord>& out);
  // Records lost so far: dropped by writers when the ring was full (as they
  // counted them), and read unsound.
  std::uint64_t Lost() const { return lost_; }

  void SetFlags(std::uint32_t flags);
  // Tells writers the ring is closed: they write nothing more.
  void Close();

 private:
  void CountDropped();

  RingHeader* header_;
  RingSlot* slots_;
  std::uint32_t capacity_;
  std::uint32_t tail_ = 0;
  std::uint32_t dropped_seen_ = 0;
  std::uint64_t lost_ = 0;
};

}  // namespace vexlan
