#include "bench/TimedMenu.h"

#include "bench/Measure.h"
#include "bench/WorkCounter.h"

namespace bench {
namespace {

// The owner window's user data belongs to the base class, so the one timed menu is found here.
TimedMenu* timedMenu = nullptr;

}  // namespace

TimedMenu::TimedMenu() {
  CreateOwner();  // the owner window is subclassed here, before the first popup
  timedMenu = this;
  baseProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(OwnerWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TimedMenu::OwnerProc)));
}

TimedMenu::~TimedMenu() {
  ::SetWindowLongPtrA(OwnerWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProc_));
  timedMenu = nullptr;
}

PopupTimes TimedMenu::PopupOnce() {
  built_ = shown_ = 0.0;
  start_ = NowMs();
  PopupTasks(0, 0);
  return {built_ - start_, shown_ - start_};
}

void TimedMenu::Popup(int x, int y) {
  built_ = NowMs();
  TTaskPopupMenu::Popup(x, y);
}

LRESULT CALLBACK TimedMenu::OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ENTERIDLE && timedMenu) {
    NoteMenuShownAndClose(wParam, lParam, timedMenu->shown_);
    NoteMenuShown();
  }
  return ::CallWindowProcA(timedMenu->baseProc_, wnd, msg, wParam, lParam);
}

}  // namespace bench
