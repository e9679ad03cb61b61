// Message boxes: ShowMessage for the texts the forms tell the user, and the
// report of an error that escaped an event handler.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace vexlan {

// A modal box with the text, an OK button and the application's title as
// caption, owned by the active window of this thread. Returns when the user
// presses OK.
void ShowMessage(const std::string& text);

// Takes every box's text instead of a box being shown: how tests read the
// texts without a modal loop. An empty hook restores the boxes.
using ShowMessageHook = std::function<void(const std::string& text)>;
ShowMessageHook SetShowMessageHook(ShowMessageHook hook);

// Installs a hook for its lifetime and puts the previous one back.
class ScopedShowMessageHook {
 public:
  explicit ScopedShowMessageHook(ShowMessageHook hook) : previous_(SetShowMessageHook(std::move(hook))) {}
  ~ScopedShowMessageHook() { SetShowMessageHook(std::move(previous_)); }
  ScopedShowMessageHook(const ScopedShowMessageHook&) = delete;
  ScopedShowMessageHook& operator=(const ScopedShowMessageHook&) = delete;

 private:
  ShowMessageHook previous_;
};

// Reports an error in a box with its message (an error icon, the same hook
// as ShowMessage). Never throws: it is called from window procedures.
void ShowException(std::exception_ptr error) noexcept;

// The caption of the boxes: "Vexlan", unless set.
std::string ApplicationTitle();
void SetApplicationTitle(const std::string& title);

}  // namespace vexlan
