#include "ui/OpenMenu.h"

#include "base/WindowThread.h"

#include <cstdlib>

namespace ui {
namespace {

// The menu window's request to highlight an item by position; not in the public headers.
constexpr UINT kSelectItemMessage = 0x01E5;

constexpr char kMenuWindowClass[] = "#32768";

}  // namespace

// Only windows of this thread are asked, so the question cannot wait on another thread.
HWND MenuWindowOf(HMENU menu) {
  HWND wnd = nullptr;
  while ((wnd = ::FindWindowExA(nullptr, wnd, kMenuWindowClass, nullptr)) != nullptr) {
    if (base::ThreadOf(wnd).thread == ::GetCurrentThreadId() &&
        reinterpret_cast<HMENU>(::SendMessageA(wnd, MN_GETHMENU, 0, 0)) == menu) {
      return wnd;
    }
  }
  return nullptr;
}

int HighlightedItem(HMENU menu) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  }
  return -1;
}

void RedrawItems(HMENU menu, const std::vector<int>& positions) {
  const HWND shown = MenuWindowOf(menu);
  for (const int position : positions) {
    RECT rect{};
    if (!shown || position < 0 || !::GetMenuItemRect(shown, menu, static_cast<UINT>(position), &rect)) continue;
    ::MapWindowPoints(nullptr, shown, reinterpret_cast<POINT*>(&rect), 2);
    ::InvalidateRect(shown, &rect, FALSE);
  }
}

// The menu window's own request moves the highlight at once. Where the window does not know it
// (Wine), the arrow keys walk there from the first item: posted, they are read before the menu
// is painted again.
int HighlightItem(HWND menuWindow, HMENU menu, int position, int from) {
  if (position < 0 || position >= ::GetMenuItemCount(menu)) return 0;
  ::SendMessageA(menuWindow, kSelectItemMessage, static_cast<WPARAM>(position), 0);
  if (from == kFromHighlighted) from = HighlightedItem(menu);  // from none, VK_DOWN highlights the first item
  const WPARAM key = position > from ? VK_DOWN : VK_UP;
  const int steps = std::abs(position - from);
  for (int step = steps; step > 0; --step) ::PostMessageA(menuWindow, WM_KEYDOWN, key, kHighlightStep);
  return steps;
}

}  // namespace ui
