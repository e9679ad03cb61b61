#include "winutil/window_properties.h"

#include "platform/toolkit/sysutils.h"
#include "winutil/handle_text.h"
#include "winutil/style_names.h"

namespace vexlan {

namespace {

// "400, 700 - 520, 760 (120 x 60)"
std::string RectText(const TRect& r) {
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

}  // namespace

std::vector<std::string> WindowPropertyLines(const WindowFacts& f) {
  std::vector<std::string> lines{"Handle: " + HandleDisplayText(f.handle)};
  if (!f.exists) {
    lines.emplace_back(kWindowGone);
    return lines;
  }
  const bool child = (f.style & 0x40000000) != 0;  // WS_CHILD
  lines.insert(lines.end(), {
      "Class: " + f.class_name,
      "Caption: " + f.caption,
      "Rectangle: " + RectText(f.rect),
      "Client: " + RectText(f.client),
      "Style: " + DescribeWindowStyle(f.style, f.class_name),
      "Extended style: " + DescribeStyle(f.ex_style, kExtendedStyleNames, child),
      "Class style: " + DescribeStyle(f.class_style, kClassStyleNames, child),
      "ID: " + (f.id ? IntToStr(*f.id) : std::string("none")),
      "Parent: " + IntToStr(f.parent),
      "Owner: " + IntToStr(f.owner),
      "Thread: " + IntToStr(f.thread_id),
      "Process: " + IntToStr(f.process_id) + " " + f.image_path.value_or("(access denied)"),
      std::string("Visible: ") + YesNo(f.visible),
      std::string("Enabled: ") + YesNo(f.enabled),
      std::string("Minimized: ") + YesNo(f.minimized),
      std::string("Maximized: ") + YesNo(f.maximized),
      std::string("Topmost: ") + YesNo(f.topmost),
      std::string("Unicode: ") + YesNo(f.unicode),
      std::string("Responding: ") + YesNo(f.responding),
      "DPI: " + IntToStr(f.dpi),
      std::string("DPI awareness: ") + AwarenessText(f.awareness),
  });
  return lines;
}

}  // namespace vexlan
