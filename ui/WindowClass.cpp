#include "ui/WindowClass.h"

#include "base/Module.h"

namespace ui {

void RegisterWindowClass(const char* className, WNDPROC proc) {
  WNDCLASSA windowClass{};
  if (::GetClassInfoA(base::ThisModule(), className, &windowClass)) return;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = base::ThisModule();
  windowClass.lpszClassName = className;
  ::RegisterClassA(&windowClass);
}

void UnregisterWindowClass(const char* className) { ::UnregisterClassA(className, base::ThisModule()); }

}  // namespace ui
