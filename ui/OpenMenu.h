// A popup menu of this thread while it is open: its window, which item is highlighted, giving
// the highlight to an item, and drawing items again.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

// The window that shows the open menu, or 0.
[[nodiscard]] HWND MenuWindowOf(HMENU menu);

// The highlighted position of a native menu, or -1.
[[nodiscard]] int HighlightedItem(HMENU menu);

// Draws the items at these positions of the open menu again, as they look now.
void RedrawItems(HMENU menu, const std::vector<int>& positions);

// The lParam of the arrow keys that HighlightItem posts, so that a key filter tells them from
// typed ones: no keyboard sends scan code 0xFF.
inline constexpr LPARAM kHighlightStep = 0x00FF0001;
// For HighlightItem: walk from wherever the highlight is now.
inline constexpr int kFromHighlighted = -2;

// Highlights the item at `position` of the menu shown in `menuWindow`, as the arrow keys would,
// without choosing it. For a menu that waits for input (WM_ENTERIDLE). `from` is where the arrow
// keys posted earlier will have taken the highlight. Returns the number of arrow keys posted.
int HighlightItem(HWND menuWindow, HMENU menu, int position, int from = kFromHighlighted);

}  // namespace ui
