// The message log's ring as a hostile program could leave it: between the
// hook's writes and Vexlan's drains, arbitrary bytes land anywhere in the
// shared memory, header and slots alike. The reader stays inside the ring
// (the memory is exactly the ring's size, under AddressSanitizer), reads at
// most one ring's worth a drain, hands out only sound records, never counts
// fewer lost records than before; a writer stays inside the view it
// checked. Until the first hostile byte every record written comes out
// once, in order, or is counted lost. Whatever comes out is shown: each
// record is one line of exactly nine fields.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "msglog/message_store.h"
#include "msglog/message_text.h"
#include "msglog/ring_reader.h"

using namespace vexlan;

namespace {

struct FuzzNamer : LogNamer {
  explicit FuzzNamer(FuzzedDataProvider& in) : in(in) {}
  ControlClass ClassOf(std::uint32_t) override {
    return static_cast<ControlClass>(in.ConsumeIntegralInRange<int>(0, static_cast<int>(ControlClass::UpDown)));
  }
  std::string RegisteredName(std::uint32_t) override { return in.ConsumeRandomLengthString(16); }
  FuzzedDataProvider& in;
};

MessageRecord AnyRecord(FuzzedDataProvider& in) {
  MessageRecord r{};
  const std::uint8_t kinds[] = {kRecordSent, kRecordReturned, kRecordPosted};
  r.kind = kinds[in.ConsumeIntegralInRange(0, 2)];
  r.time = in.ConsumeIntegral<std::uint64_t>();
  r.hwnd = in.ConsumeIntegral<std::uint32_t>();
  r.message = in.ConsumeIntegralInRange<std::uint32_t>(0, 0x10010);
  r.wparam = in.ConsumeIntegral<std::uint64_t>();
  r.lparam = in.ConsumeIntegral<std::uint64_t>();
  r.result = in.ConsumeIntegral<std::uint64_t>();
  if (in.ConsumeBool()) {
    r.flags |= kRecordDetails;
    for (std::int32_t& d : r.details) d = in.ConsumeIntegral<std::int32_t>();
  }
  if (in.ConsumeBool()) {
    r.flags |= kRecordText | (in.ConsumeBool() ? kRecordTextCut : 0);
    r.text_units = in.ConsumeIntegralInRange<std::uint16_t>(0, kRecordTextUnits);
    for (std::uint16_t i = 0; i < r.text_units; ++i) r.text[i] = in.ConsumeIntegral<char16_t>();
  }
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint32_t capacity = in.ConsumeBool() ? 16 : 64;
  const std::size_t bytes = RingBytes(capacity);
  // Exactly the ring, so that a step outside it is a finding.
  const auto memory = std::make_unique<std::uint64_t[]>(bytes / sizeof(std::uint64_t));
  auto* base = reinterpret_cast<std::uint8_t*>(memory.get());
  RingReader reader(base, capacity, 100, 0);
  const RingView writer = CheckRing(base, bytes);
  FUZZ_CHECK(writer.capacity == capacity);

  bool hostile = false;
  std::uint64_t written = 0, seen = 0, next = 0;
  std::uint64_t lost = 0;
  FuzzNamer namer(in);
  MessageStore store;
  std::vector<MessageRecord> out;
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0: {  // the hook writes
        MessageRecord r = AnyRecord(in);
        r.time = next;
        if (WriteRecord(writer, r) == RingWrite::Written) {
          ++next;
          ++written;
        }
        break;
      }
      case 1: {  // someone else writes anything anywhere
        const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, bytes - 1);
        const std::vector<std::uint8_t> junk = in.ConsumeBytes<std::uint8_t>(std::min<std::size_t>(bytes - at, 24));
        if (!junk.empty()) std::memcpy(base + at, junk.data(), junk.size());
        hostile = hostile || !junk.empty();
        break;
      }
      case 2: {  // a writer that checks the ring again, as a new thread would
        const RingView again = CheckRing(base, bytes);
        FUZZ_CHECK(again.capacity == 0 || again.capacity <= capacity);
        if (again.capacity) WriteRecord(again, AnyRecord(in));
        hostile = true;  // its record is none of the numbered ones
        break;
      }
      default: {  // Vexlan drains and shows
        out.clear();
        const std::size_t drained = reader.Drain(out);
        FUZZ_CHECK(drained == out.size() && drained <= capacity);
        FUZZ_CHECK(reader.Lost() >= lost);
        lost = reader.Lost();
        for (const MessageRecord& r : out) {
          FUZZ_CHECK(IsSoundRecord(r));
          if (!hostile) FUZZ_CHECK(r.time == seen++);
        }
        const std::size_t first = store.size();
        store.Append(out, LogClock{0, 1000}, namer);
        for (std::size_t i = first; i < store.size(); ++i) {
          const std::string line = RecordLine(store, i);
          FUZZ_CHECK(std::count(line.begin(), line.end(), '\t') == kLogFieldCount - 1);
          FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        }
        break;
      }
    }
  }
  if (!hostile) {
    out.clear();
    reader.Drain(out);
    for (const MessageRecord& r : out) FUZZ_CHECK(r.time == seen++);
    FUZZ_CHECK(seen == written);
  }
  return 0;
}
