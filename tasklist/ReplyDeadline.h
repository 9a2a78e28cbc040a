// Bounds the waits of one step of a refresh for replies from other threads' windows: the step as
// a whole waits until one deadline at most, and a thread that let a question go unanswered is not
// asked again within the step, since it would most likely let the next one pass as well.
#pragma once

#include <windows.h>

#include <set>

namespace tasklist {

class ReplyDeadline {
 public:
  explicit ReplyDeadline(DWORD budgetMs) : start_(::GetTickCount()), budgetMs_(budgetMs) {}

  // Sends the message and waits for the reply until the deadline. False when no reply came, and
  // without sending when the deadline has passed or the window's thread missed an earlier reply.
  [[nodiscard]] bool Send(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply);

 private:
  DWORD start_;
  DWORD budgetMs_;
  std::set<DWORD> silentThreads_;
};

}  // namespace tasklist
