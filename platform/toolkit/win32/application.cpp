#include "platform/toolkit/win32/application.h"

#include <commctrl.h>

#include "platform/toolkit/win32/dialogs.h"

namespace vexlan {

TApplication Application;

TApplication::~TApplication() {
  // The forms go with the components; none of them is the main form then.
  main_form_ = nullptr;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  ::InitCommonControlsEx(&icc);
}

void TApplication::AddForm(TForm& form) {
  form.application_ = this;
  if (!main_form_) main_form_ = &form;
}

void TApplication::Run() {
  if (!main_form_) return;
  try {
    main_form_->Show();
  } catch (...) {
    HandleException(std::current_exception());
  }
  MSG msg{};
  while (!terminated_) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::ProcessMessages() {
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::ProcessMessage(MSG& msg) noexcept {
  try {
    const HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (TForm* form = TForm::FromWindow(root)) {
      if (form->IsShortCut(msg)) return;
      if (form->DialogChar(msg)) return;
      if (::IsDialogMessageW(root, &msg)) return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void TApplication::Terminate() {
  terminated_ = true;
  // Run may be waiting in GetMessage, which handles messages sent from other
  // threads without returning; a posted message wakes it to see the flag.
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

void TApplication::HandleException(std::exception_ptr error) noexcept { ShowException(error); }

std::string TApplication::Title() const { return ApplicationTitle(); }

void TApplication::SetTitle(const std::string& title) { SetApplicationTitle(title); }

}  // namespace vexlan
