// Node captions: every caption the model builds reads back to its handle and
// sibling number whatever the window's caption and class hold, and the
// PathString is the chain of numbers down to it; any text read back gives
// pieces of itself and nothing more.
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "winutil/tree_model.h"
#include "winutil/window_tree.h"

using namespace vexlan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const WindowHandle wnd = in.ConsumeIntegral<WindowHandle>();
  const std::string caption = in.ConsumeRandomLengthString(300);
  const std::string class_name = in.ConsumeRandomLengthString(300);

  // A chain of windows from a top-level window down, each after so many
  // siblings, whose PathString is the chain of their numbers.
  std::vector<WindowRow> rows;
  std::string expected_path;
  const std::size_t depth = in.ConsumeIntegralInRange<std::size_t>(1, 6);
  // Handle 0 names no window: the model is asked about 1 then.
  const WindowHandle leaf = wnd == 0 ? 1 : wnd;
  WindowHandle next = 0;
  const auto fresh = [&] {
    do ++next;
    while (next == leaf);
    return next;
  };
  int parent = -1;
  for (std::size_t level = 0; level < depth; ++level) {
    const int before = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < before; ++i) rows.push_back(WindowRow{fresh(), parent, 0, "", {"C"}});
    rows.push_back(WindowRow{level + 1 == depth ? leaf : fresh(), parent, 0, caption, {class_name}});
    parent = static_cast<int>(rows.size() - 1);
    if (level > 0) expected_path += "n" + std::to_string(before + 1);
  }
  WindowTreeModel model;
  model.Build(rows);
  const int number = model.Find(leaf)->number;
  const std::string node = NodeCaption(number, caption, class_name, wnd);
  if (wnd != 0) FUZZ_CHECK(model.NodeText(wnd) == node);
  FUZZ_CHECK(HandleFromNodeCaption(node) == wnd);
  FUZZ_CHECK(SiblingNumberText(node) == std::to_string(number));
  FUZZ_CHECK(model.PathString(leaf) == expected_path);

  // Any text: the readers give pieces of it, and only the last
  // parenthesised group names the handle.
  const std::string raw = in.ConsumeRemainingBytesAsString();
  const std::optional<WindowHandle> handle = HandleFromNodeCaption(raw);
  if (raw.find('(') == std::string::npos) {
    FUZZ_CHECK(!handle);
  } else {
    FUZZ_CHECK(HandleFromNodeCaption(caption + "(" + class_name + ") " + raw) == handle);
  }
  if (handle) FUZZ_CHECK(raw.back() == ')');
  const std::string_view number_piece = SiblingNumberText(raw);
  FUZZ_CHECK(raw.starts_with(number_piece) && number_piece.find(' ') == std::string_view::npos);
  return 0;
}
