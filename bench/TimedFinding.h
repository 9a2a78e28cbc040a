// The task menu timed while finding: once the menu waits for input, '/' starts finding and the
// characters of a query are posted one at a time; each is timed from its post to the highlight on
// the first matching item with the menu window drawn again, then the menu is closed.
#pragma once

#include "taskmenu/TaskMenu.h"

#include <string>
#include <vector>

namespace bench {

class TimedFinding : public taskmenu::TTaskPopupMenu {
 public:
  TimedFinding();
  ~TimedFinding() override;

  // One popup; the milliseconds of each character of `query`.
  std::vector<double> FindOnce(const std::string& query);

 private:
  static LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void EnterIdle(HWND menuWindow);
  bool Landed(HWND menuWindow) const;

  WNDPROC baseProc_ = nullptr;
  std::string query_;
  size_t typed_ = 0;  // characters of the query posted so far; one more once the menu is closing
  double postedAt_ = 0.0;  // of the last one; 0 once it landed
  bool started_ = false;
  std::vector<double> times_;
};

}  // namespace bench
