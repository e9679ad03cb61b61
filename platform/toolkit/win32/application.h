// The application object: creates the forms, runs the message loop, and
// reports errors that escape event handlers.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <utility>

#include "platform/toolkit/classes.h"
#include "platform/toolkit/win32/forms.h"

namespace vexlan {

class TApplication : public TComponent {
 public:
  TApplication() : TComponent(nullptr) {}
  ~TApplication() override;

  // Makes the common controls available.
  void Initialize();

  // Creates a form owned by the application and stores it into `reference`
  // before its OnCreate runs, so the handler can reach it there too. The
  // first form created is the main form. Forms start hidden.
  template <class T, class... Args>
  void CreateForm(T*& reference, Args&&... args) {
    auto* form = new T(this, std::forward<Args>(args)...);
    reference = form;
    AddForm(*form);
    form->AfterConstruction();
  }

  // Shows the main form and handles messages until the application is
  // terminated (the main form closed) or the thread's queue is told to quit.
  // Key presses go through the form they are for first: Tab, arrows and
  // accelerators move between its controls as in a dialog box.
  void Run();
  // Handles the messages waiting now, the way Run does, then returns.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }
  TForm* MainForm() const { return main_form_; }

  // Reports the exception in a message box with its message (ShowException).
  void HandleException(std::exception_ptr error) noexcept;

  std::string Title() const;
  void SetTitle(const std::string& title);

 private:
  friend class TForm;
  void AddForm(TForm& form);
  void ProcessMessage(MSG& msg) noexcept;

  TForm* main_form_ = nullptr;
  bool terminated_ = false;
};

// The program's application object.
extern TApplication Application;

}  // namespace vexlan
