// What became of an action on another program's window, and the one place
// that words it for the user.
//
// Every routine of winutil/ExtCntrlsUtils that acts on a window returns an
// Outcome, and every form tells the user OutcomeText of it: the same
// failure reads the same whatever action met it. An Outcome is a plain
// value, so a change carried out on another thread reports it the same way.
#pragma once

#include <string>

namespace vexlan {

enum class Outcome {
  kDone,                 // the window took it, or it was handed to its thread
  kNotAnswered,          // a wait ran out, or the system calls the window hung
  kRefused,              // the system refused the message
  kRefusedHigherRights,  // refused, and the window's program runs with higher
                         // rights than Vexlan
  kNoWindow,             // no such window, or it went meanwhile
  kNotTaken,             // the window answered no (WM_SETTEXT answered FALSE)
  kOwnWindow,            // a window of Vexlan's own that the action leaves alone
  kStillWaiting,         // nothing done: earlier changes still wait for their
                         // windows to answer
};

// What the user asked for, which decides some of the words.
enum class Action {
  kReadText,    // a read: a window that has gone reads as empty, silently
  kWriteText,
  kClick,       // posted: a window that did not answer gets it later
  kShowOrHide,
  kClose,
  kChange,      // any other change to a window
};

// What the user is told; empty when there is nothing to tell.
std::string OutcomeText(Action action, Outcome outcome);

}  // namespace vexlan
