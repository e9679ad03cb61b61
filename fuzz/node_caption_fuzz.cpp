// Node captions: every caption the walk builds reads back to its handle,
// sibling number and lookup candidates; any text read back (the tree's node
// texts are what the form keeps) gives pieces of itself and nothing more.
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "winutil/tree_model.h"
#include "winutil/window_tree.h"

using namespace vexlan;

namespace {

bool Inside(std::string_view piece, std::string_view text) {
  return piece.empty() || (piece.data() >= text.data() && piece.data() + piece.size() <= text.data() + text.size());
}

}  // namespace

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
    chain.push_back(NodeCaption(number, caption, class_name, wnd));
    const std::string& node = chain.back();
    FUZZ_CHECK(HandleFromNodeCaption(node) == wnd);
    FUZZ_CHECK(SiblingNumberText(node) == std::to_string(number));
    FUZZ_CHECK(CaptionCandidate(node) == std::string_view(caption).substr(0, caption.find('"')));
    if (caption.find('[') == std::string::npos && class_name.find(']') == std::string::npos) {
      FUZZ_CHECK(ClassCandidate(node) == class_name);
    }
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
  const std::string_view caption_piece = CaptionCandidate(raw), class_piece = ClassCandidate(raw);
  const std::string_view number_piece = SiblingNumberText(raw);
  FUZZ_CHECK(Inside(caption_piece, raw) && caption_piece.find('"') == std::string_view::npos);
  FUZZ_CHECK(Inside(class_piece, raw) && class_piece.find(']') == std::string_view::npos);
  FUZZ_CHECK(raw.starts_with(number_piece) && number_piece.find(' ') == std::string_view::npos);
  return 0;
}
