// Windows of this process that each show an icon of their own, a handle no other window shows.
// Under Wine a window of another process answers WM_GETICON with nothing, so only windows of this
// process make the menu copy one icon per window, as a real desktop's applications do.
#pragma once

#include "base/Handle.h"

#include <vector>

namespace bench {

class IconWindows {
 public:
  // Opens `count` more windows, each with a copy of a system icon.
  void Open(int count);
  int Count() const { return static_cast<int>(windows_.size()); }

 private:
  std::vector<base::unique_hicon> icons_;  // before the windows: destroyed after them
  std::vector<base::unique_hwnd> windows_;
};

}  // namespace bench
