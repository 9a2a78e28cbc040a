// The icon a window shows in its title bar and on the taskbar, asked of the window itself with
// WM_GETICON. The asks of one refresh share a reply budget, so that windows that do not answer
// cost little: a thread that let one ask time out is not asked again, and once the budget is
// spent the remaining windows are not asked at all. Those windows are asked again while the menu
// is open (LateIconAsks).
#pragma once

#include "base/ReplyBudget.h"

#include <windows.h>

#include <array>
#include <unordered_set>

namespace tasklist {

// How long one window may take to answer, and all asks of one refresh together. A window slower
// than that does not hold up the menu: it is asked again while the menu is open.
inline constexpr UINT kWindowIconTimeoutMs = 15;
inline constexpr UINT kWindowIconBudgetMs = 300;

// The kinds of icon a window is asked for, in order, until one answer is not empty: the small icon
// first, or the big one first for icons larger than small ones.
[[nodiscard]] const std::array<WPARAM, 2>& IconKindsToAsk(bool bigFirst);

class WindowIconQuery {
 public:
  // The window's small icon, else its big one (the other way round with `bigFirst`); borrowed
  // from the window. 0 when it has none or was not asked. One ask for a window whose first icon
  // is found, two for the others.
  HICON IconOf(HWND wnd, bool bigFirst = false);
  // Whether the window answered an ask: its thread reads its messages, so it is not hung.
  bool Answered(HWND wnd) const { return answered_.count(wnd) != 0; }
  // Whether the window was to be asked but gave no answer within the bounds, or was not asked
  // once they were spent: it may still answer later. A window the message could not reach will not.
  bool Unanswered(HWND wnd) const { return unanswered_.count(wnd) != 0; }

 private:
  base::ReplyBudget replies_{kWindowIconTimeoutMs, kWindowIconBudgetMs};
  std::unordered_set<HWND> answered_;
  std::unordered_set<HWND> unanswered_;
};

}  // namespace tasklist
