#include "bench/TimedFinding.h"

#include "bench/Measure.h"
#include "ui/OpenMenu.h"

namespace bench {
namespace {

// The owner window's user data belongs to the base class, so the one timed menu is found here.
TimedFinding* timedFinding = nullptr;

}  // namespace

TimedFinding::TimedFinding() {
  CreateOwner();
  timedFinding = this;
  baseProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(OwnerWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TimedFinding::OwnerProc)));
}

TimedFinding::~TimedFinding() {
  ::SetWindowLongPtrA(OwnerWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProc_));
  timedFinding = nullptr;
}

std::vector<double> TimedFinding::FindOnce(const std::string& query) {
  query_ = query;
  typed_ = 0;
  postedAt_ = 0.0;
  started_ = false;
  times_.clear();
  PopupTasks(0, 0);
  return times_;
}

LRESULT CALLBACK TimedFinding::OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallWindowProcA(timedFinding->baseProc_, wnd, msg, wParam, lParam);
  if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) timedFinding->EnterIdle(reinterpret_cast<HWND>(lParam));
  return result;
}

// The menu sends WM_ENTERIDLE once its queue is empty: the character and the arrow keys it
// posted have been read, and the items drawn again unless the window still waits for its paint.
void TimedFinding::EnterIdle(HWND menuWindow) {
  if (!started_) {
    started_ = true;
    ::PostMessageA(menuWindow, WM_CHAR, '/', 0);
  } else if (postedAt_ != 0.0) {
    if (!Landed(menuWindow)) {
      ::PostMessageA(OwnerWindow(), WM_NULL, 0, 0);  // another look once it has
      return;
    }
    times_.push_back(NowMs() - postedAt_);
    postedAt_ = 0.0;
  }
  if (typed_ < query_.size()) {
    postedAt_ = NowMs();
    ::PostMessageA(menuWindow, WM_CHAR, static_cast<unsigned char>(query_[typed_++]), 0);
  } else if (typed_++ == query_.size()) {
    ::PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);  // clears the query
    ::PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}

// On the first item that is not dimmed, or where it was when nothing matches.
bool TimedFinding::Landed(HWND menuWindow) const {
  if (::GetUpdateRect(menuWindow, nullptr, FALSE)) return false;
  for (int i = 0; i < ItemCount(); ++i) {
    if (!Items(i).Dimmed) return ui::HighlightedItem(OpenMenu()) == i;
  }
  return true;
}

}  // namespace bench
