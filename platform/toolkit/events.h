// Event types shared by the toolkit's components and the forms.
#pragma once

#include <functional>

namespace vexlan {

class TObject;

// A handler bound to an object, taking the component that fired it. Empty
// means no handler: firing it does nothing.
using TNotifyEvent = std::function<void(TObject* Sender)>;

}  // namespace vexlan
