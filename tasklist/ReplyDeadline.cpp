#include "tasklist/ReplyDeadline.h"

namespace tasklist {

bool ReplyDeadline::Send(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply) {
  const DWORD thread = ::GetWindowThreadProcessId(wnd, nullptr);
  const DWORD elapsed = ::GetTickCount() - start_;
  if (!thread || elapsed >= budgetMs_ || silentThreads_.count(thread)) return false;
  if (::SendMessageTimeoutA(wnd, message, wParam, lParam, SMTO_ABORTIFHUNG, budgetMs_ - elapsed, &reply)) return true;
  silentThreads_.insert(thread);
  return false;
}

}  // namespace tasklist
