#include "tasklist/WindowIconQuery.h"

namespace tasklist {
namespace {

// Apps and frameworks answer for different sizes: the small icon, the one the system derives
// for the title bar, the big one (fitted to 16 x 16 when drawn).
constexpr WPARAM kIconKinds[] = {ICON_SMALL2, ICON_SMALL, ICON_BIG};

LONGLONG Ticks() {
  LARGE_INTEGER count{};
  ::QueryPerformanceCounter(&count);
  return count.QuadPart;
}

}  // namespace

WindowIconQuery::WindowIconQuery() {
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  ticksPerMs_ = static_cast<double>(frequency.QuadPart) / 1000.0;
}

HICON WindowIconQuery::IconOf(HWND wnd) {
  if (Skipped(wnd)) return nullptr;
  for (const WPARAM kind : kIconKinds) {
    HICON icon = nullptr;
    if (!Ask(wnd, kind, icon)) return nullptr;
    if (icon) return icon;
  }
  return nullptr;
}

bool WindowIconQuery::Skipped(HWND wnd) const {
  if (spentMs_ >= kWindowIconBudgetMs) return true;
  // The thread is looked up only once one has timed out: most refreshes never need it.
  return !timedOutThreads_.empty() && timedOutThreads_.count(::GetWindowThreadProcessId(wnd, nullptr));
}

bool WindowIconQuery::Ask(HWND wnd, WPARAM kind, HICON& icon) {
  DWORD_PTR answer = 0;
  const LONGLONG start = Ticks();
  ::SetLastError(ERROR_SUCCESS);  // some failures set no error; a stale one must not count
  // SMTO_BLOCK: nothing of the host's runs while we wait; a hung window fails at once.
  const LRESULT sent = ::SendMessageTimeoutA(wnd, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                            kWindowIconTimeoutMs, &answer);
  const DWORD error = ::GetLastError();
  spentMs_ += static_cast<double>(Ticks() - start) / ticksPerMs_;
  if (!sent) {
    if (error == ERROR_TIMEOUT) timedOutThreads_.insert(::GetWindowThreadProcessId(wnd, nullptr));
    return false;
  }
  icon = reinterpret_cast<HICON>(answer);
  return true;
}

}  // namespace tasklist
