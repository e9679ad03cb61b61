#include "winutil/window_properties.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "tests/support/fake_desktop.h"
#include "winutil/style_names.h"

namespace vexlan {
namespace {

TEST(DescribeWindowStyle, NamesEveryBitAsAWindowsProgrammerWould) {
  struct Case {
    std::uint32_t style;
    const char* window_class;
    const char* expected;
  };
  const Case cases[] = {
      {0x94000000, "#32770", "94000000 WS_POPUP WS_VISIBLE WS_CLIPSIBLINGS"},
      // Both caption bits are WS_CAPTION; the box bits of a top-level window.
      {0x14CF0000, "VexlanTop",
       "14CF0000 WS_OVERLAPPED WS_VISIBLE WS_CLIPSIBLINGS WS_CAPTION WS_SYSMENU WS_THICKFRAME WS_MINIMIZEBOX "
       "WS_MAXIMIZEBOX"},
      // The same bits in a child; one caption bit keeps its own name.
      {0x50830001, "BUTTON", "50830001 WS_CHILD WS_VISIBLE WS_BORDER WS_GROUP WS_TABSTOP BS_DEFPUSHBUTTON"},
      {0x50400000, "button", "50400000 WS_CHILD WS_VISIBLE WS_DLGFRAME BS_PUSHBUTTON"},
      {0x50001F03, "Button", "50001F03 WS_CHILD WS_VISIBLE BS_PUSHLIKE BS_VCENTER BS_CENTER BS_AUTOCHECKBOX"},
      {0x5000520E, "Static", "5000520E WS_CHILD WS_VISIBLE SS_ENDELLIPSIS SS_SUNKEN SS_CENTERIMAGE SS_BITMAP"},
      {0x50000000, "STATIC", "50000000 WS_CHILD WS_VISIBLE SS_LEFT"},
      {0x50000044, "Edit", "50000044 WS_CHILD WS_VISIBLE ES_AUTOVSCROLL ES_MULTILINE ES_LEFT"},
      // Bits no name explains are kept: an alignment with no name, a spare
      // bit, any low word of a class without names of its own.
      {0x50000207, "Edit", "50000207 WS_CHILD WS_VISIBLE ES_MULTILINE 0x00000203"},
      {0x50000013, "Static", "50000013 WS_CHILD WS_VISIBLE 0x00000013"},
      {0x40000001, "ButtonEx", "40000001 WS_CHILD 0x00000001"},
      {0x00000000, "VexlanTop", "00000000 WS_OVERLAPPED"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(DescribeWindowStyle(c.style, c.window_class), c.expected);
  }
  EXPECT_EQ(DescribeStyle(0x0000030A, kExtendedStyleNames, false),
            "0000030A WS_EX_CLIENTEDGE WS_EX_WINDOWEDGE WS_EX_TOPMOST 0x00000002");
  EXPECT_EQ(DescribeStyle(0x40004008, kClassStyleNames, false), "40004008 CS_GLOBALCLASS CS_DBLCLKS 0x40000000");
  EXPECT_EQ(DescribeStyle(0, kClassStyleNames, false), "00000000");
}

TEST(WindowPropertyLines, AllLinesInOrderOneLineEachOrTheWindowIsGone) {
  WindowFacts f{.handle = 65612, .exists = true,
                .window = {.class_name = u"Button", .caption = u"Grüße\r\nProcess: 1 C:\\fake.exe\t\x7F",
                           .rect = {400, 700, 520, 760}, .client = {0, 0, 120, 60}, .style = 0x50010000,
                           .ex_style = 0x00000004, .class_style = 0x0000400B, .id = 1004, .parent = -2147478988,
                           .thread_id = 5678, .process_id = 1234, .visible = true, .enabled = true,
                           .unicode = true, .dpi = 144, .awareness = DpiAwareness::PerMonitorV2},
                .image_path = "C:\\path\\program.exe",
                .rights = {0x3000, true}, .own_rights = {0x2000, false}};
  const std::vector<std::string> expected = {
      "Handle: 65612 (1004C)", "Class: Button", "Caption: Grüße␍␊Process: 1 C:\\fake.exe␉␡",
      "Rectangle: 400, 700 - 520, 760 (120 x 60)", "Client: 0, 0 - 120, 60 (120 x 60)",
      "Style: 50010000 WS_CHILD WS_VISIBLE WS_TABSTOP BS_PUSHBUTTON", "Extended style: 00000004 WS_EX_NOPARENTNOTIFY",
      "Class style: 0000400B CS_GLOBALCLASS CS_DBLCLKS CS_HREDRAW CS_VREDRAW", "ID: 1004", "Parent: -2147478988",
      "Owner: 0", "Thread: 5678", "Process: 1234 C:\\path\\program.exe", "Integrity: High (Vexlan: Medium)",
      "Elevated: yes (Vexlan: no)", "Visible: yes", "Enabled: yes", "Minimized: no", "Maximized: no", "Topmost: no",
      "Unicode: yes", "Responding: yes", "DPI: 144", "DPI awareness: per-monitor v2"};
  EXPECT_EQ(WindowPropertyLines(f), expected);

  f.exists = false;
  EXPECT_EQ(WindowPropertyLines(f), (std::vector<std::string>{"Handle: 65612 (1004C)", kWindowGone}));
}

TEST(IntegrityText, NamesTheLevelsBand) {
  const std::pair<std::optional<std::uint32_t>, const char*> cases[] = {
      {0x0000, "Low"},  {0x1FFF, "Low"},    {0x2000, "Medium"}, {0x2100, "Medium"},      {0x3000, "High"},
      {0x4000, "System"}, {0x5000, "System"}, {std::nullopt, "unknown"}};
  for (const auto& [level, name] : cases) EXPECT_STREQ(IntegrityText(level), name);
}

// What the lines are read from: through the platform, sending nothing,
// whether the window is hung, gone or its process closed to us.
TEST(ReadWindowFacts, ReadsWithoutSendingAndSaysWhatItCannotTell) {
  using testing::FakeDesktop;
  struct Case {
    const char* name;
    std::function<void(FakeDesktop&, WindowHandle)> setup;
    std::vector<std::string> lines;  // that the lines hold
  };
  const Case cases[] = {
      {"answering", [](FakeDesktop&, WindowHandle) {},
       {"Class: VexlanTop", "Caption: Top", "Process: 200 C:\\fake.exe", "Integrity: Medium (Vexlan: Medium)",
        "Elevated: no (Vexlan: no)", "Responding: yes", "DPI awareness: unknown"}},
      {"hung", [](FakeDesktop& d, WindowHandle w) { d.At(w).hung = true; }, {"Caption: Top", "Responding: no"}},
      {"stalled for six seconds", [](FakeDesktop& d, WindowHandle w) { d.Stall(w, 10000), d.Sleep(6000); },
       {"Responding: no"}},
      {"its process closed to us",
       [](FakeDesktop& d, WindowHandle) { d.processes[FakeDesktop::kOtherProcess] = {std::nullopt, {0x3000, true}, false}; },
       {"Process: 200 (access denied)", "Integrity: unknown (Vexlan: Medium)", "Elevated: unknown (Vexlan: no)"}},
      {"per-monitor at 120 DPI",
       [](FakeDesktop& d, WindowHandle w) { d.At(w).facts.awareness = DpiAwareness::PerMonitor, d.At(w).facts.dpi = 120; },
       {"DPI: 120", "DPI awareness: per-monitor"}},
      {"gone", [](FakeDesktop& d, WindowHandle w) { d.Destroy(w); }, {kWindowGone}},
      {"gone while it is read", [](FakeDesktop& d, WindowHandle w) { d.on_query = [&d, w](WindowHandle) { d.Destroy(w); }; },
       {kWindowGone}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    const WindowHandle w = d.Add(0, "Top", "VexlanTop");
    c.setup(d, w);
    const std::vector<std::string> lines = WindowPropertyLines(ReadWindowFacts(d, d, w));
    for (const std::string& line : c.lines) EXPECT_THAT(lines, ::testing::Contains(line));
    EXPECT_TRUE(!d.Exists(w) || (d.At(w).attempted.empty() && d.At(w).posted.empty())) << "sent nothing";
  }
}

}  // namespace
}  // namespace vexlan
