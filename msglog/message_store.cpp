#include "msglog/message_store.h"

#include <algorithm>
#include <limits>

namespace vexlan {

namespace {

// A name any program chose, fit for a field of a line: no control character
// (a tab or line break would split the line) survives.
std::string Printable(std::string name) {
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return name;
}

}  // namespace

std::uint32_t LogClock::Milliseconds(std::uint64_t time) const {
  if (time <= start || ticks_per_second == 0) return 0;
  const std::uint64_t ticks = time - start;
  // In two steps, so that no product overflows.
  const std::uint64_t ms = ticks / ticks_per_second * 1000 + ticks % ticks_per_second * 1000 / ticks_per_second;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, std::numeric_limits<std::uint32_t>::max()));
}

std::size_t MessageStore::Append(std::span<const MessageRecord> records, const LogClock& clock, LogNamer& namer) {
  std::size_t taken = 0;
  for (const MessageRecord& r : records) {
    if (Full()) break;
    LoggedMessage m;
    m.wparam = r.wparam;
    m.lparam = r.lparam;
    m.result = r.result;
    m.time_ms = clock.Milliseconds(r.time);
    m.hwnd = r.hwnd;
    m.message = r.message;
    m.kind = static_cast<char>(r.kind);
    auto cls = classes_.find(r.hwnd);
    if (cls == classes_.end()) cls = classes_.emplace(r.hwnd, namer.ClassOf(r.hwnd)).first;
    m.cls = cls->second;
    m.group = MessageGroupOf(r.message, m.cls);
    if (r.message >= kFirstRegisteredMessage && r.message <= kLastRegisteredMessage && !registered_.count(r.message)) {
      registered_.emplace(r.message, Printable(namer.RegisteredName(r.message)));
    }
    if (r.flags & (kRecordText | kRecordDetails)) {
      MessageExtra& extra = extras_.emplace_back();
      extra.has_details = (r.flags & kRecordDetails) != 0;
      if (extra.has_details) std::copy(std::begin(r.details), std::end(r.details), extra.details.begin());
      extra.has_text = (r.flags & kRecordText) != 0;
      extra.text_cut = (r.flags & kRecordTextCut) != 0;
      // The reader let only sound records through: the length fits.
      extra.text.assign(r.text, std::min<std::size_t>(r.text_units, kRecordTextUnits));
      m.extra = static_cast<std::uint32_t>(extras_.size() - 1);
    }
    if (size_ % kChunk == 0) {
      chunks_.push_back(std::make_unique<std::vector<LoggedMessage>>());
      chunks_.back()->reserve(kChunk);
    }
    chunks_.back()->push_back(m);
    if (!AllShown() && Shown(m.group)) shown_rows_.push_back(static_cast<std::uint32_t>(size_));
    ++size_;
    ++taken;
  }
  return taken;
}

const LoggedMessage& MessageStore::at(std::size_t index) const { return (*chunks_.at(index / kChunk)).at(index % kChunk); }

const MessageExtra* MessageStore::Extra(const LoggedMessage& m) const {
  return m.extra < extras_.size() ? &extras_[m.extra] : nullptr;
}

const std::string& MessageStore::RegisteredName(std::uint32_t msg) const {
  static const std::string kNone;
  const auto it = registered_.find(msg);
  return it == registered_.end() ? kNone : it->second;
}

void MessageStore::Clear() {
  cleared_ += size_;
  size_ = 0;
  chunks_.clear();
  extras_.clear();
  shown_rows_.clear();
}

bool MessageStore::AllShown() const {
  return std::all_of(shown_.begin(), shown_.end(), [](bool on) { return on; });
}

void MessageStore::SetShown(MessageGroup group, bool on) {
  if (Shown(group) == on) return;
  shown_[static_cast<int>(group)] = on;
  Refilter();
}

void MessageStore::Refilter() {
  shown_rows_.clear();
  if (AllShown()) {
    shown_rows_.shrink_to_fit();
    return;
  }
  for (std::size_t i = 0; i < size_; ++i) {
    if (Shown(at(i).group)) shown_rows_.push_back(static_cast<std::uint32_t>(i));
  }
}

}  // namespace vexlan
