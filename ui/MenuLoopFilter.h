// A filter of the messages that an open popup menu of this thread reads: it notes when the menu's
// loop starts (the menu window exists then) and takes keys the menu itself has no use for (Delete,
// say). It is a thread hook that lives as long as the object, so every way out of the menu's loop
// takes it away again.
#pragma once

#include "base/Handle.h"

#include <windows.h>

#include <functional>

namespace ui {

class MenuLoopFilter {
 public:
  // Sees each key the menu reads (WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR) before the menu does; returns
  // whether it took it. A key taken never reaches the menu.
  using KeyHandler = std::function<bool(const MSG& key)>;

  // `onLoopStart` runs once, at the first message the menu's loop reads, outside every window
  // procedure; it must not throw. Without `onKey` the menu reads every key itself. Without the hook (out of
  // resources) neither runs.
  MenuLoopFilter(std::function<void()> onLoopStart, KeyHandler onKey);
  MenuLoopFilter(const MenuLoopFilter&) = delete;
  MenuLoopFilter& operator=(const MenuLoopFilter&) = delete;
  ~MenuLoopFilter();

 private:
  static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);

  std::function<void()> onLoopStart_;
  KeyHandler onKey_;
  MenuLoopFilter* outer_;    // the filter of a menu that ours opened within
  base::unique_hhook hook_;  // none for a nested filter
};

}  // namespace ui
