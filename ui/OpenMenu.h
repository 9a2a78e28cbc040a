// A popup menu of this thread while it is open: its window, which item is highlighted, and
// giving the highlight to an item.
#pragma once

#include <windows.h>

namespace ui {

// The window that shows the open menu, or 0.
[[nodiscard]] HWND MenuWindowOf(HMENU menu);

// The highlighted position of a native menu, or -1.
[[nodiscard]] int HighlightedItem(HMENU menu);

// Highlights the item at `position` of the menu shown in `menuWindow`, as the arrow keys would,
// without choosing it. For a menu that waits for input (WM_ENTERIDLE).
void HighlightItem(HWND menuWindow, HMENU menu, int position);

}  // namespace ui
