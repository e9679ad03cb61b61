// vexlanhook32.dll / vexlanhook64.dll: the message log's hook procedures.
//
// The system loads this DLL into the watched program, on the thread Vexlan
// hooks, and calls a slot's procedures for every message that thread
// handles: sent ones before (S) and after (R) their window procedure, posted
// ones as the thread removes them from its queue (P; peeks that leave them
// are not taken). A procedure that sees a message for the watched window
// (or, when asked, one of its descendants) writes one record into its log's
// ring and returns at once; nothing here waits, allocates per message,
// sends a message or throws. Under Wine the DLL stays loaded for good after
// the hooks go, so every procedure stays harmless without its ring: it finds
// none by the ring's name, or finds it closed, and does nothing.
//
// Its slot and thread name the ring (RingName). A thread's views of its
// rings are kept in thread-local storage, checked once when mapped
// (CheckRing) and let go when their ring closes (then the name is looked up
// again: a later log may have made a new ring under it), or when another
// ring of the thread is mapped and finds them closed.
#include <windows.h>

#include <array>
#include <cstdint>
#include <utility>

#include "msglog/message_ring.h"

namespace {

using namespace vexlan;

DWORD g_tls = TLS_OUT_OF_INDEXES;
// Wine 8 hands a hook the parameters of a message sent from another thread
// as the sender wrote them: a pointer into the sender's memory.
bool g_wine = false;
// A ring not found is looked for again after this long.
constexpr ULONGLONG kRetryMs = 1000;

struct ThreadRings {
  RingView views[kHookSlots];
  ULONGLONG retry_at[kHookSlots];
};

ThreadRings* Rings(bool create) {
  if (g_tls == TLS_OUT_OF_INDEXES) return nullptr;
  auto* rings = static_cast<ThreadRings*>(::TlsGetValue(g_tls));
  if (!rings && create) {
    rings = static_cast<ThreadRings*>(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThreadRings)));
    if (rings && !::TlsSetValue(g_tls, rings)) {
      ::HeapFree(::GetProcessHeap(), 0, rings);
      rings = nullptr;
    }
  }
  return rings;
}

void Unmap(RingView& view) {
  if (view.header) ::UnmapViewOfFile(view.header);
  view = {};
}

bool Closed(const RingView& view) {
  return ring_detail::Load(view.header->state) != kRingOpen || ring_detail::Load(view.header->magic) != kRingMagic;
}

void ForgetThread() {
  ThreadRings* rings = Rings(false);
  if (!rings) return;
  for (RingView& view : rings->views) Unmap(view);
  ::TlsSetValue(g_tls, nullptr);
  ::HeapFree(::GetProcessHeap(), 0, rings);
}

// The view of this thread's ring for `slot`, mapped and checked on first use.
RingView* ViewFor(int slot) {
  ThreadRings* rings = Rings(true);
  if (!rings) return nullptr;
  RingView& view = rings->views[slot];
  if (view.header) {
    if (!Closed(view)) return &view;
    // A later log may have made a ring of the same name: look at once.
    Unmap(view);
    rings->retry_at[slot] = 0;
  }
  const ULONGLONG now = ::GetTickCount64();
  if (now < rings->retry_at[slot]) return nullptr;
  rings->retry_at[slot] = now + kRetryMs;
  char16_t name[kRingNameUnits];
  RingName(::GetCurrentThreadId(), slot, name);
  const HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, reinterpret_cast<LPCWSTR>(name));
  if (!mapping) return nullptr;
  void* base = ::MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
  ::CloseHandle(mapping);
  MEMORY_BASIC_INFORMATION info{};
  if (!base || !::VirtualQuery(base, &info, sizeof info)) {
    if (base) ::UnmapViewOfFile(base);
    return nullptr;
  }
  view = CheckRing(base, info.RegionSize);
  if (!view.capacity) {
    ::UnmapViewOfFile(base);
    return nullptr;
  }
  // Rings of this thread's earlier logs that have closed since.
  for (RingView& other : rings->views) {
    if (other.header && &other != &view && Closed(other)) Unmap(other);
  }
  return &view;
}

HWND WindowOf(std::uint32_t handle) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}
std::uint32_t HandleOf(HWND hwnd) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd)); }

// How many of `want` bytes from `p` can be read without a fault.
std::size_t Readable(const void* p, std::size_t want) {
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  MEMORY_BASIC_INFORMATION info{};
  if (!p || !::VirtualQuery(p, &info, sizeof info)) return 0;
  if (info.State != MEM_COMMIT || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(info.Protect & kReadable)) {
    return 0;
  }
  const auto end = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
  const std::size_t left = end - reinterpret_cast<std::uintptr_t>(p);
  return left < want ? left : want;
}

template <class T>
bool ReadStructure(LPARAM lparam, T& out) {
  const auto* p = reinterpret_cast<const void*>(lparam);
  if (Readable(p, sizeof out) != sizeof out) return false;
  out = *static_cast<const T*>(p);
  return true;
}

// Whether what lParam points to is this process's to read: the message came
// from this thread, or from another one and the system brought its data
// over (Windows does for these; Wine 8 does not before the hook runs).
bool MayRead(UINT msg) {
  if ((::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) == 0) return true;
  if (g_wine) return false;
  switch (msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      return true;
    default:
      return false;
  }
}

// The text at `lparam`, as far as the record holds it.
void ReadText(MessageRecord& record, HWND hwnd, LPARAM lparam) {
  constexpr std::uint32_t kMost = kRecordTextUnits;
  std::uint32_t units = 0;
  bool ended = false;
  // Windows hands a Unicode hook Unicode text; Wine hands it what the sender
  // sent, in the window's character set for a send of its own thread.
  if (g_wine && !::IsWindowUnicode(hwnd)) {
    const auto* text = reinterpret_cast<const char*>(lparam);
    const std::size_t bytes = Readable(text, kMost + 1);
    std::size_t length = 0;
    while (length < bytes && text[length]) ++length;
    ended = length < bytes;
    if (length > kMost) length = kMost;
    units = length ? static_cast<std::uint32_t>(::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length),
                                                                        reinterpret_cast<LPWSTR>(record.text), kMost))
                   : 0;
  } else {
    const auto* text = reinterpret_cast<const char16_t*>(lparam);
    const std::size_t readable = Readable(text, (kMost + 1) * sizeof(char16_t)) / sizeof(char16_t);
    while (units < readable && units < kMost && text[units]) {
      record.text[units] = text[units];
      ++units;
    }
    ended = units < readable && !text[units];
    // Never half a surrogate pair at the cut.
    if (!ended && units && record.text[units - 1] >= 0xD800 && record.text[units - 1] < 0xDC00) --units;
  }
  record.text_units = static_cast<std::uint16_t>(units);
  record.flags |= kRecordText | (ended ? 0 : kRecordTextCut);
}

// What a sent message points to, where the record has room for it.
void ReadPointedTo(MessageRecord& record, HWND hwnd, UINT msg, LPARAM lparam) {
  if (!lparam || !MayRead(msg)) return;
  std::int32_t* d = record.details;
  switch (msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL:
      ReadText(record, hwnd, lparam);
      return;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: {
      WINDOWPOS pos;
      if (!ReadStructure(lparam, pos)) return;
      d[0] = static_cast<std::int32_t>(HandleOf(pos.hwndInsertAfter));
      d[1] = pos.x, d[2] = pos.y, d[3] = pos.cx, d[4] = pos.cy;
      d[5] = static_cast<std::int32_t>(pos.flags);
      break;
    }
    case WM_CREATE:
    case WM_NCCREATE: {
      CREATESTRUCTW create;
      if (!ReadStructure(lparam, create)) return;
      d[0] = create.x, d[1] = create.y, d[2] = create.cx, d[3] = create.cy;
      d[4] = static_cast<std::int32_t>(create.style);
      d[5] = static_cast<std::int32_t>(create.dwExStyle);
      break;
    }
    case WM_STYLECHANGING:
    case WM_STYLECHANGED: {
      STYLESTRUCT styles;
      if (!ReadStructure(lparam, styles)) return;
      d[0] = static_cast<std::int32_t>(styles.styleOld);
      d[1] = static_cast<std::int32_t>(styles.styleNew);
      break;
    }
    case WM_NOTIFY: {
      NMHDR header;
      if (!ReadStructure(lparam, header)) return;
      d[0] = static_cast<std::int32_t>(HandleOf(header.hwndFrom));
      d[1] = static_cast<std::int32_t>(header.idFrom);
      d[2] = static_cast<std::int32_t>(header.code);
      break;
    }
    default:
      return;
  }
  record.flags |= kRecordDetails;
}

void Record(int slot, std::uint8_t kind, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT result) {
  if (!hwnd) return;  // a thread's own message, for no window
  RingView* view = ViewFor(slot);
  if (!view) return;
  const std::uint32_t target = ring_detail::Load(view->header->target);
  if (HandleOf(hwnd) != target) {
    if (!(ring_detail::Load(view->header->flags) & kRingChildren) || !::IsChild(WindowOf(target), hwnd)) return;
  }
  MessageRecord record{};
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  record.time = static_cast<std::uint64_t>(now.QuadPart);
  record.kind = kind;
  record.hwnd = HandleOf(hwnd);
  record.message = msg;
  record.wparam = wparam;
  record.lparam = static_cast<std::uint64_t>(static_cast<std::uintptr_t>(lparam));
  record.result = static_cast<std::uint64_t>(static_cast<std::uintptr_t>(result));
  if (kind == kRecordSent) ReadPointedTo(record, hwnd, msg, lparam);
  // A ring closed since ViewFor looked is let go by ViewFor next time.
  WriteRecord(*view, record);
}

template <int Slot>
LRESULT CALLBACK SentProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && lparam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lparam);
    Record(Slot, kRecordSent, m->hwnd, m->message, m->wParam, m->lParam, 0);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

template <int Slot>
LRESULT CALLBACK ReturnedProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && lparam) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    Record(Slot, kRecordReturned, m->hwnd, m->message, m->wParam, m->lParam, m->lResult);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

template <int Slot>
LRESULT CALLBACK PostedProc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && wparam == PM_REMOVE && lparam) {
    const auto* m = reinterpret_cast<const MSG*>(lparam);
    Record(Slot, kRecordPosted, m->hwnd, m->message, m->wParam, m->lParam, 0);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

using Procedures = std::array<HOOKPROC, 3>;

template <std::size_t... Slots>
constexpr std::array<Procedures, sizeof...(Slots)> AllProcedures(std::index_sequence<Slots...>) {
  return {{Procedures{&SentProc<Slots>, &ReturnedProc<Slots>, &PostedProc<Slots>}...}};
}

constexpr auto kProcedures = AllProcedures(std::make_index_sequence<kHookSlots>());

}  // namespace

// Of the C calling convention: its name is exported undecorated for both bitnesses.
extern "C" __declspec(dllexport) BOOL VexlanHookProcedures(int slot, HOOKPROC* procedures) {
  if (slot < 0 || slot >= kHookSlots || !procedures) return FALSE;
  for (std::size_t i = 0; i < 3; ++i) procedures[i] = kProcedures[static_cast<std::size_t>(slot)][i];
  return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_tls = ::TlsAlloc();
      g_wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
      break;
    case DLL_THREAD_DETACH:
    case DLL_PROCESS_DETACH:
      ForgetThread();
      break;
    default:
      break;
  }
  return TRUE;
}
