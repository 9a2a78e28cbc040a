#include "base/BoundedSend.h"

namespace base {

bool SendWithin(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT boundMs, DWORD_PTR& reply) {
  return ::SendMessageTimeoutA(wnd, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, boundMs, &reply) != 0;
}

bool IsResponsive(HWND wnd) {
  DWORD_PTR ignored = 0;
  return SendWithin(wnd, WM_NULL, 0, 0, kResponsiveProbeMs, ignored);
}

}  // namespace base
