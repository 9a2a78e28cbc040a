// A filter of the keys that an open popup menu of this thread reads, for keys the menu itself
// has no use for (Delete, say). It is a thread hook that lives as long as the object, so every
// way out of the menu's loop takes it away again.
#pragma once

#include "base/Handle.h"

#include <windows.h>

#include <functional>

namespace ui {

class MenuKeyFilter {
 public:
  // Returns whether it took the pressed key; a key taken never reaches the menu.
  using KeyHandler = std::function<bool(WPARAM virtualKey)>;

  // Without the hook (out of resources) the menu reads every key as usual.
  explicit MenuKeyFilter(KeyHandler onKey);
  MenuKeyFilter(const MenuKeyFilter&) = delete;
  MenuKeyFilter& operator=(const MenuKeyFilter&) = delete;
  ~MenuKeyFilter();

 private:
  static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);

  KeyHandler onKey_;
  MenuKeyFilter* outer_;  // the filter of a menu that ours opened within
  base::unique_hhook hook_;  // none for a nested filter
};

}  // namespace ui
