// The icon a window shows in its title bar and on the taskbar, asked of the window itself with
// WM_GETICON. Each answer is awaited briefly, and the asks of one refresh share a budget, so that
// windows that do not answer cost little: a thread that let one ask time out is not asked again,
// and once the budget is spent the remaining windows are not asked at all.
#pragma once

#include <windows.h>

#include <set>

namespace tasklist {

// How long one window may take to answer, and all asks of one refresh together.
inline constexpr UINT kWindowIconTimeoutMs = 50;
inline constexpr double kWindowIconBudgetMs = 300.0;

class WindowIconQuery {
 public:
  WindowIconQuery();

  // The window's small icon, else its big one; borrowed from the window. 0 when it has none or
  // was not asked.
  HICON IconOf(HWND wnd);

 private:
  // False when the window did not answer (closed, hung, too slow).
  bool Ask(HWND wnd, WPARAM kind, HICON& icon);
  bool Skipped(HWND wnd) const;

  std::set<DWORD> timedOutThreads_;
  double spentMs_ = 0.0;
  double ticksPerMs_;
};

}  // namespace tasklist
