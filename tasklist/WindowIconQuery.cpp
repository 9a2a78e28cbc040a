#include "tasklist/WindowIconQuery.h"

namespace tasklist {
namespace {

// Apps and frameworks answer for different sizes: the small icon, the one the system derives
// for the title bar, the big one (fitted to 16 x 16 when drawn).
constexpr WPARAM kIconKinds[] = {ICON_SMALL2, ICON_SMALL, ICON_BIG};

}  // namespace

HICON WindowIconQuery::IconOf(HWND wnd) {
  for (const WPARAM kind : kIconKinds) {
    DWORD_PTR answer = 0;
    if (!replies_.Send(wnd, WM_GETICON, kind, 0, answer)) return nullptr;
    if (answer) return reinterpret_cast<HICON>(answer);
  }
  return nullptr;
}

}  // namespace tasklist
