// Event types shared by the toolkit's components and the forms.
#pragma once

#include <functional>

namespace vexlan {

class TObject;

// A handler bound to an object, taking the component that fired it. Empty
// means no handler: firing it does nothing.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// A handler told which entry of a list fired (a hot key's index, say).
using THotKeyEvent = std::function<void(TObject* Sender, int Index)>;

// A character typed into a control (a UTF-16 unit; Enter is u'\r'). The
// handler may change it, or set it to 0 to take it: the control then never
// sees it.
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;

}  // namespace vexlan
