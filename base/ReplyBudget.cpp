#include "base/ReplyBudget.h"

#include "base/BoundedSend.h"
#include "base/WindowThread.h"

#include <algorithm>
#include <cmath>

namespace base {
namespace {

LONGLONG Ticks() {
  LARGE_INTEGER count{};
  ::QueryPerformanceCounter(&count);
  return count.QuadPart;
}

double TicksPerMs() {
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(frequency.QuadPart) / 1000.0;
}

}  // namespace

ReplyBudget::ReplyBudget(DWORD perAskMs, DWORD totalMs)
    : perAskMs_(perAskMs),
      totalMs_(totalMs),
      ticksPerMs_(TicksPerMs()) {}

bool ReplyBudget::Skips(HWND wnd) const {
  if (spentMs_ >= totalMs_) return true;
  // The thread is looked up only once one has timed out: most steps never need it.
  return !silentThreads_.empty() && silentThreads_.count(ThreadOf(wnd).thread);
}

Reply ReplyBudget::Send(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& reply) {
  if (Skips(wnd)) return Reply::kNotInTime;
  // What is left of the budget, rounded up to a whole millisecond.
  const auto bound = static_cast<UINT>(std::ceil(std::min<double>(perAskMs_, totalMs_ - spentMs_)));
  const LONGLONG start = Ticks();
  ::SetLastError(ERROR_SUCCESS);  // some failures set no error; a stale one must not count
  const bool sent = SendWithin(wnd, message, wParam, lParam, bound, reply);
  const DWORD error = ::GetLastError();
  spentMs_ += static_cast<double>(Ticks() - start) / ticksPerMs_;
  if (sent) return Reply::kAnswered;
  // A window that closed meanwhile says nothing about its thread's other windows.
  if (error != ERROR_TIMEOUT) return Reply::kFailed;
  silentThreads_.insert(ThreadOf(wnd).thread);
  return Reply::kNotInTime;
}

}  // namespace base
