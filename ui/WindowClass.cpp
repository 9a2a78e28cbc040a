#include "ui/WindowClass.h"

#include "ui/Module.h"

namespace ui {

void RegisterWindowClass(const char* className, WNDPROC proc) {
  WNDCLASSA windowClass{};
  if (::GetClassInfoA(ThisModule(), className, &windowClass)) return;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = ThisModule();
  windowClass.lpszClassName = className;
  ::RegisterClassA(&windowClass);
}

void UnregisterWindowClass(const char* className) { ::UnregisterClassA(className, ThisModule()); }

}  // namespace ui
