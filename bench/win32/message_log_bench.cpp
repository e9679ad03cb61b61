// What a message log costs the program it watches, and what it costs Vexlan.
//
// A fixture process handles 100,000 posted messages (the flood command), in
// interleaved pairs: once unwatched, once with a log on the window, drained
// every 50 ms into a record store as the Messages window does. Printed: the
// median of each, the median ratio of the pairs (goal: at most 1.5), the
// records logged and lost, and how many records a second the drains take.
// Then a million records: how long the store takes them, and how long the
// virtual list takes to show its first page and its last with a million rows.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>
#include <vector>

#include "msglog/message_text.h"
#include "msglog/win32/message_log.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/list_view.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/support/fixture_process.h"

namespace {

using namespace vexlan;
using Clock = std::chrono::steady_clock;

constexpr int kMessages = 100000;
constexpr int kPairs = 7;
constexpr auto kDrainPeriod = std::chrono::milliseconds(50);

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Drained {
  std::size_t records = 0;
  std::uint64_t lost = 0;
  double draining_ms = 0;
};

// Floods the window; with `log`, drains it every 50 ms meanwhile, into a
// store, until the flood is over and the ring is empty.
double Flood(testing::FixtureProcess& fixture, MessageLog* log, Drained& drained) {
  std::atomic<bool> done{false};
  const auto t0 = Clock::now();
  std::thread flood([&] {
    fixture.Command("flood|T|" + std::to_string(kMessages), std::chrono::milliseconds(600000));
    done = true;
  });
  MessageStore store;
  SystemLogNamer namer;
  std::vector<MessageRecord> out;
  double flood_ms = 0;
  for (bool last = false; !last;) {
    if (done && flood_ms == 0) flood_ms = Ms(Clock::now() - t0);
    last = done;
    if (log) {
      const auto d0 = Clock::now();
      out.clear();
      log->Drain(out);
      store.Append(out, log->Clock(), namer);
      drained.draining_ms += Ms(Clock::now() - d0);
    }
    if (!last) std::this_thread::sleep_for(kDrainPeriod);
  }
  flood.join();
  if (log) {
    drained.records += store.size();
    drained.lost = log->Lost();
  }
  return flood_ms;
}

std::unique_ptr<MessageLog> Watch(HookFiles& files, HWND target) {
  auto started = MessageLog::Start(files, target, {});
  if (auto* error = std::get_if<WatchError>(&started)) throw std::runtime_error(WatchFailureText(*error));
  return std::move(std::get<0>(started));
}

void MeasureFlood() {
  // The flooded window, and a window of the same thread that nothing is posted to.
  testing::FixtureProcess fixture({"top|T|VexlanFlooded|Flooded", "top|Quiet|VexlanFlooded|Quiet"});
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  HookFiles files(::GetModuleHandleW(nullptr), std::wstring(temp) + L"vexlan-bench");
  std::vector<double> bare, watched, hooked, ratios, hook_ratios;
  Drained drained, elsewhere;
  std::uint64_t lost = 0;
  Flood(fixture, nullptr, drained);  // warm-up
  for (int pair = 0; pair < kPairs; ++pair) {
    bare.push_back(Flood(fixture, nullptr, drained));
    watched.push_back(Flood(fixture, Watch(files, fixture.Handle("T")).get(), drained));
    lost += drained.lost;
    ratios.push_back(watched.back() / bare.back());
    // The hooks run for every message of the thread, and record none.
    hooked.push_back(Flood(fixture, Watch(files, fixture.Handle("Quiet")).get(), elsewhere));
    hook_ratios.push_back(hooked.back() / bare.back());
  }
  std::printf("message log: %d posted messages, %d rounds: unwatched %.0f ms, watched %.0f ms (medians), "
              "median ratio %.2f (goal <= 1.5)\n",
              kMessages, kPairs, Median(bare), Median(watched), Median(ratios));
  std::printf("message log: hooked but watching another window of the thread: %.0f ms, median ratio %.2f\n",
              Median(hooked), Median(hook_ratios));
  std::printf("message log: %zu records logged, %llu lost; the drains took %.0f records a second\n",
              drained.records, static_cast<unsigned long long>(lost),
              drained.records / (drained.draining_ms / 1000.0));
}

// Records as the store would take them: a busy mix of messages and windows.
std::vector<MessageRecord> SyntheticRecords(std::size_t count) {
  std::vector<MessageRecord> records(count);
  const std::uint32_t messages[] = {0x0200, 0x0020, 0x0084, 0x000F, 0x0014, 0x0111, 0x8005, 0x0100};
  for (std::size_t i = 0; i < count; ++i) {
    MessageRecord& r = records[i];
    r.kind = i % 3 == 0 ? kRecordPosted : (i % 3 == 1 ? kRecordSent : kRecordReturned);
    r.time = i * 100;
    r.hwnd = 0x10000 + static_cast<std::uint32_t>(i % 5);
    r.message = messages[i % 8];
    r.wparam = i;
    r.lparam = (i % 640) | ((i % 480) << 16);
  }
  return records;
}

struct NoNames : LogNamer {
  ControlClass ClassOf(std::uint32_t) override { return ControlClass::None; }
  std::string RegisteredName(std::uint32_t) override { return {}; }
};

void MeasureMillion(TApplication& app) {
  constexpr std::size_t kMillion = 1000000;
  const std::vector<MessageRecord> records = SyntheticRecords(kMillion);
  MessageStore store;
  NoNames names;
  auto t0 = Clock::now();
  for (std::size_t at = 0; at < kMillion; at += MessageLog::kRingCapacity) {
    store.Append(std::span(records).subspan(at, std::min<std::size_t>(MessageLog::kRingCapacity, kMillion - at)),
                 LogClock{0, 1000000}, names);
  }
  const double append_ms = Ms(Clock::now() - t0);

  TForm form(&app);
  form.SetBounds(100, 100, 900, 500);
  auto* list = new TListView(&form);
  const ListColumn columns[] = {{"#", 48}, {"ms", 44}, {"Kind", 36}, {"Window", 64}, {"Message", 148},
                                {"wParam", 116}, {"lParam", 116}, {"Result", 116}, {"Details", 230}};
  list->SetColumns(columns);
  list->OnGetText = [&](int row, int column) {
    return FieldText(store, store.ShownAt(static_cast<std::size_t>(row)), static_cast<LogField>(column));
  };
  list->SetParent(&form);
  list->SetAlign(alClient);
  form.Show();
  app.ProcessMessages();
  t0 = Clock::now();
  list->SetRowCount(static_cast<int>(store.ShownCount()));
  ::UpdateWindow(list->Handle());
  const double first_ms = Ms(Clock::now() - t0);
  t0 = Clock::now();
  ::SendMessageW(list->Handle(), LVM_ENSUREVISIBLE, kMillion - 1, FALSE);
  ::UpdateWindow(list->Handle());
  const double last_ms = Ms(Clock::now() - t0);
  std::printf("message log: a million records: the store takes them in %.0f ms; the list shows its first page "
              "in %.1f ms and its last in %.1f ms\n",
              append_ms, first_ms, last_ms);
}

}  // namespace

int main() {
  const ScopedPlatform platform(SystemPlatform());
  TApplication& app = Application;
  app.Initialize();
  try {
    MeasureFlood();
    MeasureMillion(app);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "message_log_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
