// The task menu with two time stamps per popup: when the items are built (the base's tracking
// starts) and when the open menu is shown and waits for input (WM_ENTERIDLE to its owner); it is
// dismissed right then with Esc.
#pragma once

#include "taskmenu/TaskMenu.h"

namespace bench {

struct PopupTimes {
  double buildMs = 0.0;  // PopupTasks' start to the tracking: clear, Refresh, one item per task
  double shownMs = 0.0;  // PopupTasks' start to the menu on screen, waiting for input
};

class TimedMenu : public taskmenu::TTaskPopupMenu {
 public:
  TimedMenu();
  ~TimedMenu() override;

  PopupTimes PopupOnce();

 protected:
  void Popup(int x, int y) override;

 private:
  static LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  WNDPROC baseProc_ = nullptr;
  double start_ = 0.0;
  double built_ = 0.0;
  double shown_ = 0.0;
};

}  // namespace bench
