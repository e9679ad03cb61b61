// Whether Vexlan should take the keyboard back after an action on another
// program's window.
//
// A posted click makes a button or an edit take the focus on its own
// thread. Windows keeps the keyboard with the foreground program, so the
// click takes nothing there; Wine lets that thread take the foreground
// too, and with it the user's keys, while Vexlan still looks active. So for
// a while after the action Vexlan watches who has the foreground: the
// target's program taking it from Vexlan is the action's doing and is
// undone; the user going anywhere else ends the watch, and so does the
// user's own press of a mouse button or of Alt while the target's program
// takes it (they clicked it, or switched to it). The click reaches a
// window that did not answer only when it answers, so such a watch lasts
// longer. The shell feeds this the facts; this keeps no handles.
#pragma once

#include <cstdint>

namespace vexlan {

// Who has the foreground when the shell looks.
enum class ForegroundOwner {
  kNobody,  // no window (the system is between two activations)
  kVexlan,  // a window of Vexlan's own process
  kTarget,  // a window of the acted-on window's process
  kOther,   // any other program
};

class FocusWatch {
 public:
  // How long the watch lasts after an action the target's thread answered
  // in time (it has taken the click, or is about to), and after one it did
  // not answer (it takes the click when it answers, if ever).
  static constexpr std::int64_t kAnsweredMs = 2000;
  static constexpr std::int64_t kUnansweredMs = 60000;

  enum class Verdict {
    kNothing,   // go on watching
    kTakeBack,  // give the foreground back to Vexlan's window, go on watching
    kEnded,     // the watch is over: stop looking
  };

  // An action went to another program's window at `now_ms`; `answered`
  // tells whether its thread answered in time. Watches only when Vexlan
  // had the foreground at that moment: otherwise the keyboard was not ours.
  void Begin(ForegroundOwner at_action, bool answered, std::int64_t now_ms);
  // The foreground as it is at `now_ms` (at a focus event, or at once after
  // the action); `user_pressing`: a mouse button or Alt is down.
  Verdict Look(ForegroundOwner now, bool user_pressing, std::int64_t now_ms);
  bool Watching() const { return watching_; }
  // When the watch runs out unless something ends it first.
  std::int64_t EndsAtMs() const { return ends_at_ms_; }

 private:
  bool watching_ = false;
  std::int64_t ends_at_ms_ = 0;
};

}  // namespace vexlan
