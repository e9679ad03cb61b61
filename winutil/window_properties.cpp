#include "winutil/window_properties.h"

#include "platform/toolkit/sysutils.h"
#include "platform/utf.h"
#include "winutil/ExtCntrlsUtils.h"
#include "winutil/control_pictures.h"
#include "winutil/handle_text.h"
#include "winutil/style_names.h"

namespace vexlan {

namespace {

// "400, 700 - 520, 760 (120 x 60)"
std::string RectText(const WindowRect& r) {
  const auto width = static_cast<std::int64_t>(r.Right) - r.Left;
  const auto height = static_cast<std::int64_t>(r.Bottom) - r.Top;
  return IntToStr(r.Left) + ", " + IntToStr(r.Top) + " - " + IntToStr(r.Right) + ", " + IntToStr(r.Bottom) + " (" +
         IntToStr(width) + " x " + IntToStr(height) + ")";
}

const char* YesNo(bool on) { return on ? "yes" : "no"; }

const char* AwarenessText(DpiAwareness awareness) {
  switch (awareness) {
    case DpiAwareness::Unaware:
      return "unaware";
    case DpiAwareness::System:
      return "system";
    case DpiAwareness::PerMonitor:
      return "per-monitor";
    case DpiAwareness::PerMonitorV2:
      return "per-monitor v2";
    case DpiAwareness::Unknown:
      break;
  }
  return "unknown";
}

std::string ElevatedText(std::optional<bool> elevated) { return elevated ? YesNo(*elevated) : "unknown"; }

std::string Text(const std::u16string& text) { return ControlPictures(Utf16ToUtf8(text)); }

}  // namespace

WindowFacts ReadWindowFacts(WindowServices& windows, WindowFactsServices& facts, WindowHandle wnd) {
  WindowFacts f;
  f.handle = wnd;
  if (!IsWindowHandle(windows, wnd)) return f;
  std::optional<WindowRecord> record = facts.Record(wnd);
  if (!record) return f;
  f.window = std::move(*record);
  if (const auto image = facts.ProcessImage(f.window.process_id)) f.image_path = Utf16ToUtf8(*image);
  f.rights = windows.RightsOf(wnd);
  f.own_rights = windows.OwnRights();
  // Gone while it was read: what was read may be anything.
  f.exists = facts.Exists(wnd);
  return f;
}

const char* IntegrityText(std::optional<std::uint32_t> integrity) {
  if (!integrity) return "unknown";
  if (*integrity < 0x2000) return "Low";
  if (*integrity < 0x3000) return "Medium";
  if (*integrity < 0x4000) return "High";
  return "System";
}

std::vector<std::string> WindowPropertyLines(const WindowFacts& facts) {
  const WindowRecord& f = facts.window;
  std::vector<std::string> lines{"Handle: " + HandleDisplayText(facts.handle)};
  if (!facts.exists) {
    lines.emplace_back(kWindowGone);
    return lines;
  }
  const bool child = (f.style & 0x40000000) != 0;  // WS_CHILD
  lines.insert(lines.end(), {
      "Class: " + Text(f.class_name),
      "Caption: " + Text(f.caption),
      "Rectangle: " + RectText(f.rect),
      "Client: " + RectText(f.client),
      "Style: " + DescribeWindowStyle(f.style, Utf16ToUtf8(f.class_name)),
      "Extended style: " + DescribeStyle(f.ex_style, kExtendedStyleNames, child),
      "Class style: " + DescribeStyle(f.class_style, kClassStyleNames, child),
      "ID: " + (f.id ? IntToStr(*f.id) : std::string("none")),
      "Parent: " + IntToStr(f.parent),
      "Owner: " + IntToStr(f.owner),
      "Thread: " + IntToStr(f.thread_id),
      "Process: " + IntToStr(f.process_id) + " " + ControlPictures(facts.image_path.value_or("(access denied)")),
      std::string("Integrity: ") + IntegrityText(facts.rights.integrity) + " (Vexlan: " +
          IntegrityText(facts.own_rights.integrity) + ")",
      "Elevated: " + ElevatedText(facts.rights.elevated) + " (Vexlan: " + ElevatedText(facts.own_rights.elevated) + ")",
      std::string("Visible: ") + YesNo(f.visible),
      std::string("Enabled: ") + YesNo(f.enabled),
      std::string("Minimized: ") + YesNo(f.minimized),
      std::string("Maximized: ") + YesNo(f.maximized),
      std::string("Topmost: ") + YesNo((f.ex_style & 0x00000008) != 0),  // WS_EX_TOPMOST
      std::string("Unicode: ") + YesNo(f.unicode),
      std::string("Responding: ") + YesNo(!f.hung),
      "DPI: " + IntToStr(f.dpi),
      std::string("DPI awareness: ") + AwarenessText(f.awareness),
  });
  return lines;
}

}  // namespace vexlan
