#include "msglog/ring_reader.h"

#include <stdexcept>

namespace vexlan {

using ring_detail::Load;
using ring_detail::Store;

bool IsSoundRecord(const MessageRecord& record) {
  if (record.kind != kRecordSent && record.kind != kRecordReturned && record.kind != kRecordPosted) return false;
  if ((record.flags & ~kRecordKnownFlags) != 0) return false;
  if (record.text_units > kRecordTextUnits) return false;
  if (!(record.flags & kRecordText) && (record.text_units != 0 || (record.flags & kRecordTextCut))) return false;
  return true;
}

RingReader::RingReader(void* base, std::uint32_t capacity, std::uint32_t target, std::uint32_t flags)
    : header_(static_cast<RingHeader*>(base)), slots_(reinterpret_cast<RingSlot*>(header_ + 1)), capacity_(capacity) {
  if (!base || !IsRingCapacity(capacity)) throw std::invalid_argument("RingReader: no ring of that capacity");
  RingHeader header{};
  header.magic = kRingMagic;
  header.version = kRingVersion;
  header.header_size = sizeof(RingHeader);
  header.slot_size = sizeof(RingSlot);
  header.capacity = capacity;
  header.target = target;
  header.flags = flags;
  header.state = 0;
  std::memcpy(header_, &header, sizeof header);
  for (std::uint32_t i = 0; i < capacity; ++i) Store(slots_[i].sequence, i, std::memory_order_relaxed);
  // Writers may come once the ring says it is open, never before.
  Store(header_->state, kRingOpen);
}

std::size_t RingReader::Drain(std::vector<MessageRecord>& out) {
  std::size_t appended = 0;
  for (std::uint32_t n = 0; n < capacity_; ++n) {
    RingSlot& slot = slots_[tail_ & (capacity_ - 1)];
    if (Load(slot.sequence) != tail_ + 1) break;  // not written yet
    // One copy, then only the copy is looked at: a writer that keeps
    // changing the slot changes nothing of what is checked and shown.
    MessageRecord record;
    std::memcpy(&record, &slot.record, sizeof record);
    Store(slot.sequence, tail_ + capacity_);
    ++tail_;
    if (IsSoundRecord(record)) {
      out.push_back(record);
      ++appended;
    } else {
      ++lost_;
    }
  }
  CountDropped();
  return appended;
}

void RingReader::CountDropped() {
  // The writers' count only grows (modulo 2^32); whatever it says, it only
  // adds to a number.
  const std::uint32_t dropped = Load(header_->lost, std::memory_order_relaxed);
  lost_ += dropped - dropped_seen_;
  dropped_seen_ = dropped;
}

void RingReader::SetFlags(std::uint32_t flags) { Store(header_->flags, flags); }

void RingReader::Close() {
  Store(header_->state, kRingClosed);
  CountDropped();
}

}  // namespace vexlan
