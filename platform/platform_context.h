// The platform context: the services through which components reach the
// platform, installed once at start-up.
//
// Components made from layouts cannot be handed their services in a
// constructor, as a form can; they take the context installed when they are
// created and keep it for their whole life. The program installs the Win32
// context (platform/win32/win32_platform.h) before it creates any form; a
// test installs a context of fakes for its own duration.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/platform_services.h"
#include "platform/window_services.h"

namespace vexlan {

// Asked for a service that the context lacks, or for the context when none is
// installed: a fault of the program's set-up, not of the user's input.
class EPlatformMissing : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// A set of services, each possibly absent, copied by value. Tests start from
// an empty context and add just the fakes they need.
class PlatformContext {
 public:
  WindowServices& Windows() const { return Need(windows_, "other programs' windows"); }
  MessageWindowServices& MessageWindows() const { return Need(message_windows_, "message windows"); }
  HotKeyServices& HotKeys() const { return Need(hot_keys_, "hot keys"); }
  CursorServices& Cursor() const { return Need(cursor_, "the cursor"); }
  ShowHideServices& ShowHide() const { return Need(show_hide_, "showing and hiding windows"); }
  MessagePosting& Posting() const { return Need(posting_, "posting messages"); }
  WindowEventServices& WindowEvents() const { return Need(window_events_, "window events"); }
  WindowFactsServices& WindowFacts() const { return Need(window_facts_, "reading windows' properties"); }
  WindowChangeServices& Changes() const { return Need(changes_, "changing windows"); }

  // This context with one service replaced. The services must outlive every
  // copy of the context that names them.
  [[nodiscard]] PlatformContext With(WindowServices& s) const { return Replaced(&PlatformContext::windows_, s); }
  [[nodiscard]] PlatformContext With(MessageWindowServices& s) const {
    return Replaced(&PlatformContext::message_windows_, s);
  }
  [[nodiscard]] PlatformContext With(HotKeyServices& s) const { return Replaced(&PlatformContext::hot_keys_, s); }
  [[nodiscard]] PlatformContext With(CursorServices& s) const { return Replaced(&PlatformContext::cursor_, s); }
  [[nodiscard]] PlatformContext With(ShowHideServices& s) const { return Replaced(&PlatformContext::show_hide_, s); }
  [[nodiscard]] PlatformContext With(MessagePosting& s) const { return Replaced(&PlatformContext::posting_, s); }
  [[nodiscard]] PlatformContext With(WindowEventServices& s) const {
    return Replaced(&PlatformContext::window_events_, s);
  }
  [[nodiscard]] PlatformContext With(WindowFactsServices& s) const {
    return Replaced(&PlatformContext::window_facts_, s);
  }
  [[nodiscard]] PlatformContext With(WindowChangeServices& s) const { return Replaced(&PlatformContext::changes_, s); }

 private:
  template <class S>
  static S& Need(S* service, const char* what) {
    if (!service) throw EPlatformMissing(std::string("The platform context has no services for ") + what);
    return *service;
  }
  template <class S>
  PlatformContext Replaced(S* PlatformContext::*member, S& service) const {
    PlatformContext copy = *this;
    copy.*member = &service;
    return copy;
  }

  WindowServices* windows_ = nullptr;
  MessageWindowServices* message_windows_ = nullptr;
  HotKeyServices* hot_keys_ = nullptr;
  CursorServices* cursor_ = nullptr;
  ShowHideServices* show_hide_ = nullptr;
  MessagePosting* posting_ = nullptr;
  WindowEventServices* window_events_ = nullptr;
  WindowFactsServices* window_facts_ = nullptr;
  WindowChangeServices* changes_ = nullptr;
};

// The installed context; EPlatformMissing when there is none.
const PlatformContext& Platform();

// Installs a copy of `context` for the life of this object, then puts back
// whatever was installed before. Installers nest; each must end before the
// one installed ahead of it, as scopes do. One thread only, like the rest of
// the user interface.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(const PlatformContext& context);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  PlatformContext context_;
  const PlatformContext* previous_;
};

}  // namespace vexlan
