#include "msglog/message_text.h"

#include <span>
#include <string_view>

#include "msglog/message_name_list.h"
#include "platform/toolkit/sysutils.h"
#include "platform/utf.h"

namespace vexlan {

// The messages decoded here, by their Windows names (the list's values,
// checked against the headers).
namespace window_messages {
#define VEXLAN_MESSAGE_CONSTANT(name, value, group) inline constexpr std::uint32_t name = value;
VEXLAN_WINDOW_MESSAGES(VEXLAN_MESSAGE_CONSTANT)
#undef VEXLAN_MESSAGE_CONSTANT
}  // namespace window_messages

namespace {

using namespace window_messages;

struct Named {
  std::int32_t value;
  std::string_view name;
};
#define VEXLAN_NAMED(name, value) Named{value, #name},
constexpr Named kMouseKeys[] = {VEXLAN_MOUSE_KEY_FLAGS(VEXLAN_NAMED)};
constexpr Named kSizeTypes[] = {VEXLAN_SIZE_TYPES(VEXLAN_NAMED)};
constexpr Named kActivateStates[] = {VEXLAN_ACTIVATE_STATES(VEXLAN_NAMED)};
constexpr Named kWindowPosFlags[] = {VEXLAN_WINDOW_POS_FLAGS(VEXLAN_NAMED)};
constexpr Named kSystemCommands[] = {VEXLAN_SYSTEM_COMMANDS(VEXLAN_NAMED)};
constexpr Named kHitTests[] = {VEXLAN_HIT_TEST_CODES(VEXLAN_NAMED)};
constexpr Named kScrollCodes[] = {VEXLAN_SCROLL_CODES(VEXLAN_NAMED)};
constexpr Named kStyleIndexes[] = {VEXLAN_STYLE_INDEXES(VEXLAN_NAMED)};
constexpr Named kNotifications[] = {VEXLAN_NOTIFICATION_CODES(VEXLAN_NAMED)};
#undef VEXLAN_NAMED

// The parts, appended: never "literal" + a temporary, on which g++ 12 at -O3
// warns falsely (-Wrestrict).
template <class... Parts>
std::string Cat(const Parts&... parts) {
  std::string out;
  (out.append(std::string_view(parts)), ...);
  return out;
}

std::string Number(std::int64_t value) { return IntToStr(value); }
std::string Hex(std::uint64_t value) {
  return IntToHex(static_cast<std::int64_t>(value), value > 0xFFFFFFFFu ? 16 : 8);
}

// The name `value` has in `table`, or the value in decimal.
std::string NameOf(std::int64_t value, std::span<const Named> table) {
  for (const Named& n : table) {
    if (n.value == value) return std::string(n.name);
  }
  return Number(value);
}

// The names of the flags `value` holds, joined by '|', then what no name
// explains in hexadecimal; "0" for none.
std::string FlagsOf(std::uint32_t value, std::span<const Named> table) {
  std::string out;
  for (const Named& n : table) {
    const auto bit = static_cast<std::uint32_t>(n.value);
    if (!(value & bit)) continue;
    if (!out.empty()) out += '|';
    out += n.name;
    value &= ~bit;
  }
  if (value) out += Cat(out.empty() ? "0x" : "|0x", IntToHex(static_cast<std::int64_t>(value), 4));
  return out.empty() ? "0" : out;
}

std::int32_t Low(std::uint64_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
std::int32_t High(std::uint64_t v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }
std::uint32_t LowU(std::uint64_t v) { return static_cast<std::uint32_t>(v & 0xFFFF); }
std::uint32_t HighU(std::uint64_t v) { return static_cast<std::uint32_t>((v >> 16) & 0xFFFF); }
// A window handle in a parameter, as the log shows handles.
std::string Handle(std::uint64_t v) { return Number(static_cast<std::int32_t>(static_cast<std::uint32_t>(v))); }
std::string Point(std::uint64_t lparam) { return Cat("x=", Number(Low(lparam)), " y=", Number(High(lparam))); }

// A text between double quotes with \, ", CR, LF, tab and other control
// characters escaped, so that it never breaks a line or a field; "…" after
// the quotes when the hook read only its beginning.
std::string Quoted(const std::u16string& text, bool cut) {
  std::u16string escaped;
  const auto escape = [&](char16_t c) {
    escaped.push_back(u'\\');
    escaped.push_back(c);
  };
  for (char16_t c : text) {
    switch (c) {
      case u'\\': escape(u'\\'); break;
      case u'"': escape(u'"'); break;
      case u'\r': escape(u'r'); break;
      case u'\n': escape(u'n'); break;
      case u'\t': escape(u't'); break;
      default:
        if (c < 0x20 || c == 0x7F) {
          escape(u'x');
          for (char digit : IntToHex(static_cast<std::int64_t>(c), 2)) escaped.push_back(static_cast<char16_t>(digit));
        } else {
          escaped.push_back(c);
        }
    }
  }
  std::string out = "\"";
  out += Utf16ToUtf8(escaped);
  out += '"';
  if (cut) out += "\u2026";
  return out;
}

std::string Character(std::uint64_t wparam) {
  const auto code = static_cast<std::uint32_t>(wparam & 0xFFFFFFFF);
  std::string out = Cat("U+", IntToHex(static_cast<std::int64_t>(code), 4));
  const bool shown = code >= 0x20 && code != 0x7F && code < 0x110000 && !(code >= 0xD800 && code <= 0xDFFF);
  if (!shown) return out;
  std::u16string unit;
  if (code >= 0x10000) {
    unit += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    unit += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
  } else {
    unit += static_cast<char16_t>(code);
  }
  return Cat(Quoted(unit, false), " ", out);
}

std::string KeyDetails(const LoggedMessage& m) {
  const std::uint64_t l = m.lparam;
  std::string out = Cat(VirtualKeyName(static_cast<std::uint32_t>(m.wparam & 0xFF)), " repeat=", Number(LowU(l)),
                        " scan=0x", IntToHex(static_cast<std::int64_t>((l >> 16) & 0xFF), 2));
  if (l & (1u << 24)) out += " extended";
  if (l & (1u << 29)) out += " alt";
  if (l & (1u << 30)) out += " was-down";
  if (l & (1u << 31)) out += " up";
  return out;
}

std::string MouseDetails(const LoggedMessage& m) {
  std::string out = Point(m.lparam);
  if (const std::uint32_t keys = LowU(m.wparam)) out += Cat(" ", FlagsOf(keys, kMouseKeys));
  if (m.message == WM_MOUSEWHEEL || m.message == WM_MOUSEHWHEEL) out = Cat("delta=", Number(High(m.wparam)), " ", out);
  if (m.message >= WM_XBUTTONDOWN && m.message <= WM_XBUTTONDBLCLK) out += Cat(" button=", Number(HighU(m.wparam)));
  return out;
}

// What the hook read from the structure the message points to.
std::string StructureDetails(const LoggedMessage& m, const MessageExtra& extra) {
  const auto& d = extra.details;
  switch (m.message) {
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      return Cat("x=", Number(d[1]), " y=", Number(d[2]), " cx=", Number(d[3]), " cy=", Number(d[4]), " after=",
                 Number(d[0]), " ", FlagsOf(static_cast<std::uint32_t>(d[5]), kWindowPosFlags));
    case WM_CREATE:
    case WM_NCCREATE:
      return Cat("x=", Number(d[0]), " y=", Number(d[1]), " cx=", Number(d[2]), " cy=", Number(d[3]), " style=",
                 IntToHex(d[4], 8), " exstyle=", IntToHex(d[5], 8));
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      return Cat(NameOf(static_cast<std::int32_t>(m.wparam), kStyleIndexes), " old=", IntToHex(d[0], 8), " new=",
                 IntToHex(d[1], 8));
    case WM_NOTIFY:
      return Cat("code=", NameOf(d[2], kNotifications), " id=", Number(d[1]), " from=", Number(d[0]));
    default:
      return {};
  }
}

}  // namespace

std::string DescribeParameters(const LoggedMessage& m, const MessageExtra* extra) {
  if (extra && extra->has_text) return Cat("text=", Quoted(extra->text, extra->text_cut));
  if (extra && extra->has_details) {
    if (std::string details = StructureDetails(m, *extra); !details.empty()) return details;
  }
  // Control messages below WM_USER share numbers with none of these.
  const std::uint32_t msg = m.message;
  const std::uint64_t w = m.wparam, l = m.lparam;
  if ((msg >= WM_MOUSEMOVE && msg <= WM_MOUSEHWHEEL) || msg == WM_MOUSEHOVER) return MouseDetails(m);
  if ((msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK) || msg == WM_NCMOUSEHOVER) {
    return Cat(NameOf(static_cast<std::int32_t>(w), kHitTests), " ", Point(l));
  }
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      return KeyDetails(m);
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
      return Cat(Character(w), " repeat=", Number(LowU(l)));
    case WM_UNICHAR:
    case WM_IME_CHAR:
      return Character(w);
    case WM_NCHITTEST:
      return m.kind == 'R' ? Cat(Point(l), " -> ", NameOf(static_cast<std::int32_t>(m.result), kHitTests)) : Point(l);
    case WM_SETCURSOR:
      return Cat("window=", Handle(w), " hit=", NameOf(Low(l), kHitTests), " mouse=", MessageName(HighU(l), {}));
    case WM_MOUSEACTIVATE:
      return Cat("top=", Handle(w), " hit=", NameOf(Low(l), kHitTests), " mouse=", MessageName(HighU(l), {}));
    case WM_CONTEXTMENU:
      return Cat("window=", Handle(w), " ", Point(l));
    case WM_CAPTURECHANGED:
      return Cat("new=", Handle(l));
    case WM_SIZE:
      return Cat(NameOf(static_cast<std::int32_t>(w), kSizeTypes), " ", Number(LowU(l)), "x", Number(HighU(l)));
    case WM_MOVE:
      return Point(l);
    case WM_COMMAND:
      if (l == 0) return Cat("id=", Number(LowU(w)), HighU(w) == 1 ? " accelerator" : " menu");
      return Cat("id=", Number(LowU(w)), " code=", Number(HighU(w)), " control=", Handle(l));
    case WM_NOTIFY:
      return Cat("id=", Number(static_cast<std::int32_t>(w)));
    case WM_SHOWWINDOW:
      return Cat("shown=", Number(w != 0), " status=", Number(static_cast<std::int32_t>(l)));
    case WM_ACTIVATE:
      return Cat(NameOf(LowU(w), kActivateStates), " minimized=", Number(HighU(w) != 0), " other=", Handle(l));
    case WM_ACTIVATEAPP:
      return Cat("active=", Number(w != 0), " thread=", Number(static_cast<std::uint32_t>(l)));
    case WM_NCACTIVATE:
      return Cat("active=", Number(w != 0));
    case WM_ENABLE:
      return Cat("enabled=", Number(w != 0));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return Cat("other=", Handle(w));
    case WM_TIMER:
      return Cat("id=", Number(static_cast<std::int64_t>(w)));
    case WM_SYSCOMMAND:
      return NameOf(static_cast<std::int32_t>(w & 0xFFF0), kSystemCommands);
    case WM_HSCROLL:
    case WM_VSCROLL:
      return Cat(NameOf(LowU(w), kScrollCodes), " pos=", Number(HighU(w)), l ? Cat(" bar=", Handle(l)) : "");
    case WM_GETTEXT:
      return Cat("max=", Number(static_cast<std::int64_t>(w)));
    case WM_PARENTNOTIFY:
      if (LowU(w) == WM_CREATE || LowU(w) == WM_DESTROY) {
        return Cat(MessageName(LowU(w), {}), " child=", Handle(l));
      }
      return Cat(MessageName(LowU(w), {}), " ", Point(l));
    case WM_DPICHANGED:
      return Cat("dpi=", Number(LowU(w)), "x", Number(HighU(w)));
    default:
      return {};
  }
}

std::string FieldText(const MessageStore& store, std::size_t index, LogField field) {
  const LoggedMessage& m = store.at(index);
  switch (field) {
    case LogField::Number: return Number(static_cast<std::int64_t>(store.Number(index)));
    case LogField::Time: return Number(m.time_ms);
    case LogField::Kind: return std::string(1, m.kind);
    case LogField::Window: return Handle(m.hwnd);
    case LogField::Message: return MessageName(m.message, m.cls, store.RegisteredName(m.message));
    case LogField::WParam: return Hex(m.wparam);
    case LogField::LParam: return Hex(m.lparam);
    case LogField::Result: return m.kind == 'R' ? Hex(m.result) : std::string();
    case LogField::Details: return DescribeParameters(m, store.Extra(m));
  }
  return {};
}

std::string RecordLine(const MessageStore& store, std::size_t index) {
  std::string line;
  for (int f = 0; f < kLogFieldCount; ++f) {
    if (f) line += '\t';
    line += FieldText(store, index, static_cast<LogField>(f));
  }
  return line;
}

std::string LogText(const MessageStore& store, std::uint64_t lost) {
  std::string text;
  for (std::size_t row = 0; row < store.ShownCount(); ++row) {
    if (row) text += "\r\n";
    text += RecordLine(store, store.ShownAt(row));
  }
  if (lost) text += Cat(text.empty() ? "lost\t" : "\r\nlost\t", Number(static_cast<std::int64_t>(lost)));
  return text;
}

}  // namespace vexlan
