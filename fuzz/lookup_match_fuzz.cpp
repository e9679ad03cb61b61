// The lookups' matching: containment ignoring the case of A-Z only, against
// a plain reference (fold both texts, then search); folding changes no byte
// outside A-Z; a lookup finds the first row whose caption or class matches.
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/toolkit/sysutils.h"
#include "winutil/tree_model.h"
#include "winutil/window_tree.h"

using namespace vexlan;

namespace {

std::string Fold(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c | 0x20);
  }
  return text;
}

bool ReferenceContains(const std::string& candidate, const std::string& text) {
  return !text.empty() && Fold(candidate).find(Fold(text)) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string text = in.ConsumeRandomLengthString(64);

  const std::string lowered = StrLower(text);
  FUZZ_CHECK(lowered.size() == text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool upper = text[i] >= 'A' && text[i] <= 'Z';
    FUZZ_CHECK(lowered[i] == (upper ? static_cast<char>(text[i] + 32) : text[i]));
  }

  // Rows of any captions and classes, quotes and brackets included: the
  // lookups compare the window's own caption and class, whatever they hold.
  std::vector<std::string> captions, classes;
  std::vector<WindowRow> rows;
  while (in.remaining_bytes() > 0 && rows.size() < 16) {
    captions.push_back(in.ConsumeRandomLengthString(64));
    classes.push_back(in.ConsumeRandomLengthString(32));
    const int n = static_cast<int>(rows.size()) + 1;
    rows.push_back(WindowRow{n, -1, n, captions.back(), {classes.back()}});
    FUZZ_CHECK(ContainsIgnoringAsciiCase(captions.back(), text) == ReferenceContains(captions.back(), text));
    FUZZ_CHECK(ContainsIgnoringAsciiCase(StrLower(captions.back()), lowered) ==
               ContainsIgnoringAsciiCase(captions.back(), text));
  }
  WindowTreeModel model;
  model.Build(rows);
  std::optional<int> by_name, by_class;
  for (std::size_t i = rows.size(); i-- > 0;) {
    if (ReferenceContains(captions[i], text)) by_name = static_cast<int>(i);
    if (ReferenceContains(classes[i], text)) by_class = static_cast<int>(i);
  }
  FUZZ_CHECK(model.FindByName(text) == by_name);
  FUZZ_CHECK(model.FindByClass(text) == by_class);
  // Find Next from nothing finds what the lookup finds; from any entry, the
  // first match after it, wrapping around, never the entry itself.
  const WindowQuery query{std::nullopt, text, ""};
  FUZZ_CHECK(model.FindNext(std::nullopt, query) == by_name);
  const std::size_t count = rows.size();
  for (std::size_t from = 0, step = 1; from < count; ++from, step = 1) {
    while (step < count && !ReferenceContains(captions[(from + step) % count], text)) ++step;
    const std::optional<int> next = step < count ? std::optional(static_cast<int>((from + step) % count)) : std::nullopt;
    FUZZ_CHECK(model.FindNext(static_cast<int>(from), query) == next);
  }
  return 0;
}
