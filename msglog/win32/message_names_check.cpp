// The lists of msglog/message_name_list.h held against the system headers at
// compile time, entry by entry: a mistyped value, or a name the headers do
// not have, does not build. The error numbers the failure texts depend on
// are held the same way.
//
// Every name the headers define is wanted here, whatever Windows version the
// program targets; only constants are used.
#undef WINVER
#undef _WIN32_WINNT
#undef _WIN32_IE
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#define _WIN32_IE 0x0A00
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "msglog/message_name_list.h"
#include "msglog/watch_failures.h"

namespace vexlan {
namespace {

#define VEXLAN_CHECK_MESSAGE(name, value, group) \
  static_assert(static_cast<std::uint32_t>(name) == (value), #name " differs from the headers");
#define VEXLAN_CHECK_VALUE(name, value) \
  static_assert(static_cast<std::int32_t>(name) == (value), #name " differs from the headers");

VEXLAN_WINDOW_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_BUTTON_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_EDIT_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_LIST_BOX_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_COMBO_BOX_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_STATIC_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_SCROLL_BAR_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_TREE_VIEW_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_LIST_VIEW_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_TAB_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_HEADER_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_TOOLBAR_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_STATUS_BAR_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_PROGRESS_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_TRACKBAR_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_UP_DOWN_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_COMMON_CONTROL_MESSAGES(VEXLAN_CHECK_MESSAGE)
VEXLAN_VIRTUAL_KEYS(VEXLAN_CHECK_VALUE)
VEXLAN_MOUSE_KEY_FLAGS(VEXLAN_CHECK_VALUE)
VEXLAN_SIZE_TYPES(VEXLAN_CHECK_VALUE)
VEXLAN_ACTIVATE_STATES(VEXLAN_CHECK_VALUE)
VEXLAN_WINDOW_POS_FLAGS(VEXLAN_CHECK_VALUE)
VEXLAN_SYSTEM_COMMANDS(VEXLAN_CHECK_VALUE)
VEXLAN_HIT_TEST_CODES(VEXLAN_CHECK_VALUE)
VEXLAN_SCROLL_CODES(VEXLAN_CHECK_VALUE)
VEXLAN_STYLE_INDEXES(VEXLAN_CHECK_VALUE)
VEXLAN_NOTIFICATION_CODES(VEXLAN_CHECK_VALUE)

#undef VEXLAN_CHECK_MESSAGE
#undef VEXLAN_CHECK_VALUE

static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kErrorInvalidWindowHandle == ERROR_INVALID_WINDOW_HANDLE);
static_assert(kErrorInvalidThreadId == ERROR_INVALID_THREAD_ID);

}  // namespace
}  // namespace vexlan
