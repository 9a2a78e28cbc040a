// The monitor where the task menu opens. With `Monitor` on, only the tasks on it are listed; an
// entry chosen by Enter or a click with Shift held brings its window over to it. A letter typed
// with Shift only chooses, as it always did.
#pragma once

#include <windows.h>

namespace taskmenu {

class MenuMonitor {
 public:
  // At every popup, with the menu's point in real pixels.
  void Open(int x, int y);
  // Sees every key the open menu reads, the one that chooses last. Enter may come as a character
  // too, which chooses the highlighted item as its key does.
  void NoteKey(const MSG& key) { chosenByLetter_ = key.message == WM_CHAR && key.wParam != '\r'; }

  HMONITOR Monitor() const { return monitor_; }
  // Where the chosen entry's window is brought: the menu's monitor when Shift was held as it was
  // chosen by Enter or a click; none when it is to be activated where it is.
  [[nodiscard]] HMONITOR BringTo() const;

 private:
  HMONITOR monitor_ = nullptr;
  bool chosenByLetter_ = false;
};

}  // namespace taskmenu
