// Vexlan's entry point: the application object, the main form, the loop.
#include <windows.h>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "forms/Vexlan_unit3.h"
#include "forms/Vexlan_unit4.h"
#include "forms/Vexlan_unit5.h"
#include "forms/Vexlan_unit7.h"
#include "forms/Vexlan_unit8.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "platform/win32/win32_platform.h"

using namespace vexlan;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before any form: components made from layouts find the platform here.
  const ScopedPlatform platform(SystemPlatform());
  try {
    Application.Initialize();
    Application.CreateForm(Form1);
    Application.CreateForm(Form2);
    Application.CreateForm(Form3);
    Application.CreateForm(Form4);
    Application.CreateForm(Form5);
    Application.CreateForm(Form7);
    Application.CreateForm(Form8);
    Application.Run();
    // The forms go now, while the program is whole, not among the statics.
    Application.DestroyComponents();
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    Form7 = nullptr;
    Form8 = nullptr;
  } catch (...) {
    // Only a form that cannot be created gets here; there is nothing to run.
    ShowException(std::current_exception());
    return 1;
  }
  return 0;
}
