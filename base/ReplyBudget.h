// Bounds the waits of one step for replies from other threads' windows. Each ask waits at most
// its own bound and what is left of the step's budget, which counts only the time spent waiting;
// a thread that let an ask time out is not asked again within the step, since it would most
// likely let the next one pass as well; once the budget is spent nobody is asked.
#pragma once

#include <windows.h>

#include <set>

namespace base {

// What became of one ask.
enum class Reply {
  kAnswered,
  kNotInTime,  // no reply within the bounds, or not asked: the thread missed an earlier ask, or
               // the budget is spent; also a hung window's
  kFailed,     // the window is gone, or the message could not be sent to it
};

class ReplyBudget {
 public:
  ReplyBudget(DWORD perAskMs, DWORD totalMs);

  // Sends the message and waits for the reply within the bounds (SendWithin). Sends nothing when
  // the budget is spent or the window's thread missed an earlier ask.
  [[nodiscard]] Reply Send(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply);

 private:
  [[nodiscard]] bool Skips(HWND wnd) const;

  DWORD perAskMs_;
  double totalMs_;
  double spentMs_ = 0.0;
  double ticksPerMs_;
  std::set<DWORD> silentThreads_;
};

}  // namespace base
