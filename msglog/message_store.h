// The records of one message log, as the Messages window holds them: a
// million of them cost tens of megabytes, kept in chunks (no reallocation
// copies the log as it grows), with the names they need resolved when they
// arrive (a window may be gone by the time its record is looked at), and
// the records the group filters let through.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "msglog/message_names.h"
#include "msglog/message_ring.h"

namespace vexlan {

inline constexpr std::uint32_t kNoExtra = 0xFFFFFFFF;

// One logged message, compact.
struct LoggedMessage {
  std::uint64_t wparam = 0;
  std::uint64_t lparam = 0;
  std::uint64_t result = 0;
  std::uint32_t time_ms = 0;  // since the log started
  std::uint32_t hwnd = 0;
  std::uint32_t message = 0;
  std::uint32_t extra = kNoExtra;  // its MessageExtra, when the record carried one
  char kind = 'S';                 // 'S', 'R' or 'P'
  ControlClass cls = ControlClass::None;
  MessageGroup group = MessageGroup::Other;
};

// What few records carry besides: the details and text the hook read.
struct MessageExtra {
  std::array<std::int32_t, kRecordDetailCount> details{};
  bool has_details = false;
  bool has_text = false;
  bool text_cut = false;
  std::u16string text;
};

// Performance-counter times as milliseconds since the log started.
struct LogClock {
  std::uint64_t start = 0;
  std::uint64_t ticks_per_second = 1000;
  // A time before the start is 0; one too late for 32 bits is the largest.
  std::uint32_t Milliseconds(std::uint64_t time) const;
};

// What the store asks the system about the windows and messages it meets:
// once for each window and each registered message.
class LogNamer {
 public:
  virtual ~LogNamer() = default;
  virtual ControlClass ClassOf(std::uint32_t hwnd) = 0;
  // The name message `msg` (0xC000 to 0xFFFF) was registered under; "" when none.
  virtual std::string RegisteredName(std::uint32_t msg) = 0;
};

class MessageStore {
 public:
  // The most records one log holds; the window stops its log there.
  static constexpr std::size_t kLimit = 2'000'000;

  // Appends the records up to the limit; returns how many it took.
  std::size_t Append(std::span<const MessageRecord> records, const LogClock& clock, LogNamer& namer);
  std::size_t size() const { return size_; }
  bool Full() const { return size_ >= kLimit; }
  const LoggedMessage& at(std::size_t index) const;
  // The record's number in the log: 1 for the first ever taken, counting on
  // across Clear.
  std::uint64_t Number(std::size_t index) const { return cleared_ + index + 1; }
  // nullptr when the record carries none.
  const MessageExtra* Extra(const LoggedMessage& m) const;
  // The registered name of `msg`, as it was when first met; "" when none.
  const std::string& RegisteredName(std::uint32_t msg) const;
  // Forgets the records (not the names); numbering goes on.
  void Clear();

  // The group filters: a record is shown when its group is.
  bool Shown(MessageGroup group) const { return shown_[static_cast<int>(group)]; }
  void SetShown(MessageGroup group, bool on);
  std::size_t ShownCount() const { return AllShown() ? size_ : shown_rows_.size(); }
  // The index of the `row`th shown record.
  std::size_t ShownAt(std::size_t row) const { return AllShown() ? row : shown_rows_.at(row); }

 private:
  static constexpr std::size_t kChunk = 1 << 16;
  bool AllShown() const;
  void Refilter();

  std::vector<std::unique_ptr<std::vector<LoggedMessage>>> chunks_;
  std::size_t size_ = 0;
  std::uint64_t cleared_ = 0;
  std::vector<MessageExtra> extras_;
  std::unordered_map<std::uint32_t, ControlClass> classes_;
  std::map<std::uint32_t, std::string> registered_;
  std::array<bool, kMessageGroupCount> shown_{true, true, true, true, true};
  std::vector<std::uint32_t> shown_rows_;  // kept while a group is hidden
};

}  // namespace vexlan
