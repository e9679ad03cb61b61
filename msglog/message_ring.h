// The message log's ring: the shared memory in which a hook procedure in the
// watched program writes one fixed-size record per message and Vexlan reads
// them (msglog/ring_reader.h).
//
// Two processes share it, of the same bitness or not, and neither may trust
// the other: every field has a fixed width and place (checked below for
// both bitnesses); the writer checks the header before it writes and keeps
// the geometry it checked; the reader keeps its own and checks every
// record. Only the standard library is used here: the hook DLL includes
// this header and nothing else of Vexlan.
//
// The ring is a bounded queue in the manner of D. Vyukov's: each slot
// carries a sequence number. A writer takes position p from `head` when its
// slot says p (free for this round), writes the record and publishes p + 1;
// the reader takes position t when its slot says t + 1 and hands the slot to
// the next round with t + capacity. A writer that finds its slot still
// unread counts the record in `lost` and returns at once: the watched
// program never waits for Vexlan. Positions count modulo 2^32.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vexlan {

inline constexpr std::uint32_t kRingMagic = 0x524C5856;  // "VXLR"
inline constexpr std::uint32_t kRingVersion = 1;
// A ring's capacity is a power of two within these bounds.
inline constexpr std::uint32_t kRingMinCapacity = 16;
inline constexpr std::uint32_t kRingMaxCapacity = 1u << 20;
// Logs one thread can carry at once: each takes a slot number, which picks
// its own set of hook procedures in the DLL and names its ring.
inline constexpr int kHookSlots = 16;

// The name of the ring of hook slot `slot` on thread `thread`, in the
// session's namespace: "Local\VexlanMessageLog.<thread>.<slot>". The hook
// procedures of a slot find their thread's ring by it.
inline constexpr std::size_t kRingNameUnits = 48;
inline void RingName(std::uint32_t thread, int slot, char16_t (&name)[kRingNameUnits]) {
  const char16_t prefix[] = u"Local\\VexlanMessageLog.";
  std::size_t at = 0;
  for (std::size_t i = 0; prefix[i]; ++i) name[at++] = prefix[i];
  const auto number = [&](std::uint32_t value) {
    char16_t digits[10];
    int n = 0;
    do {
      digits[n++] = static_cast<char16_t>(u'0' + value % 10);
      value /= 10;
    } while (value);
    while (n) name[at++] = digits[--n];
  };
  number(thread);
  name[at++] = u'.';
  number(static_cast<std::uint32_t>(slot));
  name[at] = 0;
}

// The DLL's one export: the three hook procedures of slot `slot` (sent,
// returned, posted), for SetWindowsHookEx; false for a slot out of range.
//   extern "C" BOOL VexlanHookProcedures(int slot, HOOKPROC procedures[3]);
inline constexpr char kHookProceduresExport[] = "VexlanHookProcedures";

// RingHeader::state
inline constexpr std::uint32_t kRingOpen = 1;
inline constexpr std::uint32_t kRingClosed = 2;
// RingHeader::flags: the target's descendants are watched too.
inline constexpr std::uint32_t kRingChildren = 1;

struct RingHeader {
  std::uint32_t magic;
  std::uint32_t version;
  std::uint32_t header_size;
  std::uint32_t slot_size;
  std::uint32_t capacity;
  std::uint32_t state;   // kRingOpen until the reader is done with it
  std::uint32_t target;  // the watched window's handle
  std::uint32_t flags;   // kRingChildren
  std::uint32_t head;    // the next position a writer takes
  std::uint32_t lost;    // records writers dropped because the ring was full
  std::uint32_t reserved[6];
};

// MessageRecord::kind
inline constexpr std::uint8_t kRecordSent = 'S';      // a sent message, before its window procedure
inline constexpr std::uint8_t kRecordReturned = 'R';  // a sent message after it, with its result
inline constexpr std::uint8_t kRecordPosted = 'P';    // a posted message as its thread removed it

// MessageRecord::flags
inline constexpr std::uint8_t kRecordText = 1;     // `text` holds `text_units` units
inline constexpr std::uint8_t kRecordTextCut = 2;  // and the text went on beyond them
inline constexpr std::uint8_t kRecordDetails = 4;  // `details` holds what the message points to
inline constexpr std::uint8_t kRecordKnownFlags = kRecordText | kRecordTextCut | kRecordDetails;

inline constexpr std::uint32_t kRecordTextUnits = 60;
inline constexpr int kRecordDetailCount = 7;

struct MessageRecord {
  std::uint64_t time;  // the performance counter when the hook ran
  std::uint64_t wparam;
  std::uint64_t lparam;
  std::uint64_t result;  // kRecordReturned only
  std::uint32_t hwnd;
  std::uint32_t message;
  std::uint8_t kind;
  std::uint8_t flags;
  std::uint16_t text_units;
  // Read by the hook from the structure a sent message points to, in its
  // own process: WINDOWPOS (insert after, x, y, cx, cy, flags),
  // CREATESTRUCT (x, y, cx, cy, style, extended style), STYLESTRUCT (old,
  // new), NMHDR (from, id, code).
  std::int32_t details[kRecordDetailCount];
  char16_t text[kRecordTextUnits];  // a text the message carries (WM_SETTEXT), UTF-16
};

struct RingSlot {
  std::uint32_t sequence;
  std::uint32_t reserved;
  MessageRecord record;
};

static_assert(sizeof(RingHeader) == 64);
static_assert(offsetof(MessageRecord, hwnd) == 32 && offsetof(MessageRecord, kind) == 40 &&
              offsetof(MessageRecord, details) == 44 && offsetof(MessageRecord, text) == 72);
static_assert(sizeof(MessageRecord) == 192 && sizeof(RingSlot) == 200);
static_assert(std::atomic_ref<std::uint32_t>::is_always_lock_free);

// The bytes a ring of `capacity` slots takes.
constexpr std::size_t RingBytes(std::uint32_t capacity) {
  return sizeof(RingHeader) + std::size_t{capacity} * sizeof(RingSlot);
}

constexpr bool IsRingCapacity(std::uint32_t capacity) {
  return capacity >= kRingMinCapacity && capacity <= kRingMaxCapacity && (capacity & (capacity - 1)) == 0;
}

namespace ring_detail {
inline std::uint32_t Load(const std::uint32_t& field, std::memory_order order = std::memory_order_acquire) {
  return std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(field)).load(order);
}
inline void Store(std::uint32_t& field, std::uint32_t value, std::memory_order order = std::memory_order_release) {
  std::atomic_ref<std::uint32_t>(field).store(value, order);
}
}  // namespace ring_detail

// What a writer keeps of a ring it has checked.
struct RingView {
  RingHeader* header = nullptr;
  RingSlot* slots = nullptr;
  std::uint32_t capacity = 0;  // as checked; never read from the ring again
};

// The view of the ring at `base`, a mapping of `view_size` bytes, when its
// header is sound: our magic and version, our sizes, a capacity the view
// holds, open. An empty view (capacity 0) otherwise.
inline RingView CheckRing(void* base, std::size_t view_size) {
  if (!base || view_size < sizeof(RingHeader)) return {};
  auto* header = static_cast<RingHeader*>(base);
  using ring_detail::Load;
  const std::uint32_t capacity = Load(header->capacity);
  if (Load(header->magic) != kRingMagic || Load(header->version) != kRingVersion ||
      Load(header->header_size) != sizeof(RingHeader) || Load(header->slot_size) != sizeof(RingSlot) ||
      !IsRingCapacity(capacity) || RingBytes(capacity) > view_size || Load(header->state) != kRingOpen) {
    return {};
  }
  return {header, reinterpret_cast<RingSlot*>(header + 1), capacity};
}

enum class RingWrite { Written, Lost, Closed };

// How often a writer tries for a slot that other writers keep taking before
// it counts its record lost rather than wait.
inline constexpr int kRingWriteAttempts = 64;

// Writes `record` into the next free slot, or counts it lost when the ring
// is full; Closed when the reader is done with the ring (or someone broke
// its header). Never waits and never touches memory outside the view.
inline RingWrite WriteRecord(const RingView& ring, const MessageRecord& record) {
  using ring_detail::Load;
  RingHeader& header = *ring.header;
  if (Load(header.magic, std::memory_order_relaxed) != kRingMagic || Load(header.state) != kRingOpen) {
    return RingWrite::Closed;
  }
  std::atomic_ref<std::uint32_t> head(header.head);
  std::uint32_t position = head.load(std::memory_order_relaxed);
  for (int attempt = 0; attempt < kRingWriteAttempts; ++attempt) {
    RingSlot& slot = ring.slots[position & (ring.capacity - 1)];
    const auto lag = static_cast<std::int32_t>(Load(slot.sequence) - position);
    if (lag == 0) {
      if (head.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
        std::memcpy(&slot.record, &record, sizeof record);
        ring_detail::Store(slot.sequence, position + 1);
        return RingWrite::Written;
      }
    } else if (lag < 0) {
      break;  // the reader has not freed this slot: the ring is full
    } else {
      position = head.load(std::memory_order_relaxed);  // another writer took it
    }
  }
  std::atomic_ref<std::uint32_t>(header.lost).fetch_add(1, std::memory_order_relaxed);
  return RingWrite::Lost;
}

}  // namespace vexlan
