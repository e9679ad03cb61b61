// Node captions: every caption the walk builds reads back to its handle and
// sibling number, and its row knows the window's caption and class whatever
// they hold; any text read back (the tree's node texts are what the form
// keeps) gives pieces of itself and nothing more.
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

  // A chain of nodes from a top-level window down, as MakePathString reads it.
  std::vector<std::string> chain;
  std::string expected_path;
  const std::size_t depth = in.ConsumeIntegralInRange<std::size_t>(1, 6);
  for (std::size_t level = 0; level < depth; ++level) {
    const int number = in.ConsumeIntegral<int>();
    const WindowRow row = MakeWindowRow(wnd, -1, number, caption, class_name);
    chain.push_back(row.caption);
    const std::string& node = chain.back();
    FUZZ_CHECK(node == NodeCaption(number, caption, class_name, wnd));
    FUZZ_CHECK(HandleFromNodeCaption(node) == wnd);
    FUZZ_CHECK(SiblingNumberText(node) == std::to_string(number));
    FUZZ_CHECK(row.CaptionPiece() == caption && row.ClassPiece() == class_name);
    if (level > 0) expected_path += "n" + std::to_string(number);
  }
  const std::vector<std::string_view> views(chain.begin(), chain.end());
  FUZZ_CHECK(PathString(views) == expected_path);

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
