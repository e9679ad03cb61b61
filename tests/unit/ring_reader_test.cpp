#include "msglog/ring_reader.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace vexlan {
namespace {

MessageRecord Record(std::uint32_t message, std::uint64_t wparam = 0, std::uint8_t kind = kRecordPosted) {
  MessageRecord r{};
  r.kind = kind;
  r.hwnd = 100;
  r.message = message;
  r.wparam = wparam;
  return r;
}

// A ring in ordinary memory, as the hook's side and Vexlan's side see it.
struct Ring {
  explicit Ring(std::uint32_t capacity) : memory(RingBytes(capacity) / 8 + 1), reader(memory.data(), capacity, 100, 0) {}
  RingView Writer() { return CheckRing(memory.data(), RingBytes(reader_capacity())); }
  std::uint32_t reader_capacity() { return reinterpret_cast<RingHeader*>(memory.data())->capacity; }
  RingHeader& Header() { return *reinterpret_cast<RingHeader*>(memory.data()); }
  RingSlot* Slots() { return reinterpret_cast<RingSlot*>(&Header() + 1); }

  std::vector<std::uint64_t> memory;  // 8-byte aligned
  RingReader reader;
};

TEST(MessageRing, RecordsComeOutInOrderAndAFullRingCountsWhatItDrops) {
  Ring ring(16);
  const RingView writer = ring.Writer();
  ASSERT_EQ(writer.capacity, 16u);
  for (std::uint32_t i = 0; i < 20; ++i) {
    EXPECT_EQ(WriteRecord(writer, Record(0x8001, i)), i < 16 ? RingWrite::Written : RingWrite::Lost) << i;
  }
  std::vector<MessageRecord> out;
  EXPECT_EQ(ring.reader.Drain(out), 16u);
  for (std::uint32_t i = 0; i < 16; ++i) EXPECT_EQ(out[i].wparam, i);
  EXPECT_EQ(ring.reader.Lost(), 4u);

  // Drained slots take the next round, across the end of the ring.
  out.clear();
  for (std::uint32_t i = 0; i < 24; ++i) {
    EXPECT_EQ(WriteRecord(writer, Record(0x8001, 100 + i)), RingWrite::Written);
    if (i % 8 == 7) ring.reader.Drain(out);
  }
  ASSERT_EQ(out.size(), 24u);
  EXPECT_EQ(out.back().wparam, 123u);
  EXPECT_EQ(ring.reader.Lost(), 4u);

  ring.reader.Close();
  EXPECT_EQ(WriteRecord(writer, Record(0x8001)), RingWrite::Closed);
  EXPECT_EQ(ring.Writer().capacity, 0u) << "a closed ring is no ring to a writer";
}

// The writer looks at the header before anything else: whatever is wrong
// with it, it writes nothing.
TEST(MessageRing, AWriterTakesOnlyASoundHeader) {
  struct Case {
    const char* what;
    void (*spoil)(RingHeader&);
    std::size_t view = RingBytes(16);
  };
  const Case cases[] = {
      {"sound", [](RingHeader&) {}},
      {"magic", [](RingHeader& h) { h.magic ^= 1; }},
      {"version", [](RingHeader& h) { h.version = 2; }},
      {"header size", [](RingHeader& h) { h.header_size = 128; }},
      {"slot size", [](RingHeader& h) { h.slot_size = 8; }},
      {"capacity not a power of two", [](RingHeader& h) { h.capacity = 24; }},
      {"capacity beyond the view", [](RingHeader& h) { h.capacity = 32; }},
      {"closed", [](RingHeader& h) { h.state = kRingClosed; }},
      {"view smaller than the ring", [](RingHeader&) {}, RingBytes(16) - 1},
      {"view smaller than a header", [](RingHeader&) {}, sizeof(RingHeader) - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Ring ring(16);
    c.spoil(ring.Header());
    EXPECT_EQ(CheckRing(ring.memory.data(), c.view).capacity, std::string(c.what) == "sound" ? 16u : 0u);
  }
  EXPECT_EQ(CheckRing(nullptr, RingBytes(16)).capacity, 0u);
}

// Whatever another process puts into the slots, the reader hands out only
// sound records, counts the rest lost, and reads no more than one ring.
TEST(MessageRing, TheReaderTrustsNothingInTheSlots) {
  struct Case {
    const char* what;
    void (*spoil)(MessageRecord&);
  };
  const Case cases[] = {
      {"unknown kind", [](MessageRecord& r) { r.kind = 'X'; }},
      {"unknown flag", [](MessageRecord& r) { r.flags = 0x80; }},
      {"text too long", [](MessageRecord& r) { r.flags = kRecordText, r.text_units = kRecordTextUnits + 1; }},
      {"text without its flag", [](MessageRecord& r) { r.text_units = 3; }},
      {"cut without text", [](MessageRecord& r) { r.flags = kRecordTextCut; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Ring ring(16);
    MessageRecord bad = Record(0x0C, 0, kRecordSent);
    c.spoil(bad);
    EXPECT_FALSE(IsSoundRecord(bad));
    WriteRecord(ring.Writer(), Record(0x0C, 1, kRecordSent));
    WriteRecord(ring.Writer(), bad);
    std::vector<MessageRecord> out;
    EXPECT_EQ(ring.reader.Drain(out), 1u);
    EXPECT_EQ(ring.reader.Lost(), 1u);
  }

  // Every slot claims to be the next one written, round after round.
  Ring ring(16);
  std::vector<MessageRecord> out;
  for (int round = 0; round < 3; ++round) {
    for (std::uint32_t i = 0; i < 16; ++i) ring.Slots()[i].sequence = 0xFFFFFFFF;
    for (std::uint32_t i = 0; i < 16; ++i) ring.Slots()[(round * 16 + i) % 16].sequence = round * 16 + i + 1;
    EXPECT_EQ(ring.reader.Drain(out), 0u);
  }
  EXPECT_EQ(ring.reader.Lost(), 48u) << "zeroed slots are no records";
}

// Writers on several threads at once, as hooked threads of one program are:
// every record is read once or counted lost, and each thread's come in the
// order it wrote them.
TEST(MessageRing, ConcurrentWritersLoseNothingSilently) {
  constexpr int kWriters = 4;
  constexpr std::uint32_t kEach = 5000;
  Ring ring(256);
  std::vector<std::thread> writers;
  std::atomic<int> done{0};
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      const RingView view = ring.Writer();
      for (std::uint32_t i = 0; i < kEach; ++i) WriteRecord(view, Record(0x8000 + w, i));
      ++done;
    });
  }
  std::vector<MessageRecord> out;
  while (done < kWriters) ring.reader.Drain(out);
  ring.reader.Drain(out);
  for (std::thread& t : writers) t.join();
  EXPECT_EQ(out.size() + ring.reader.Lost(), kWriters * kEach);
  std::vector<std::int64_t> last(kWriters, -1);
  for (const MessageRecord& r : out) {
    const int w = static_cast<int>(r.message - 0x8000);
    ASSERT_GT(static_cast<std::int64_t>(r.wparam), last[w]) << "writer " << w;
    last[w] = static_cast<std::int64_t>(r.wparam);
  }
}

}  // namespace
}  // namespace vexlan
