#include "tasklist/Foreground.h"

#include "tasklist/NUnit.h"

namespace tasklist {

bool TakeForeground(HWND wnd) {
  if (::SetForegroundWindow(wnd)) return true;
  const HWND foreground = ::GetForegroundWindow();
  const DWORD foregroundThread = ::GetWindowThreadProcessId(foreground, nullptr);
  const DWORD ourThread = ::GetCurrentThreadId();
  if (!foreground || foregroundThread == ourThread || !IsResponsive(foreground)) return false;
  if (!::AttachThreadInput(ourThread, foregroundThread, TRUE)) return false;
  const bool taken = ::SetForegroundWindow(wnd) != FALSE;
  ::AttachThreadInput(ourThread, foregroundThread, FALSE);
  // Detaching may leave the foreground without a window (Wine's does); an empty foreground is open
  // to every program, so the request is made once more.
  if (taken && !::GetForegroundWindow()) (void)::SetForegroundWindow(wnd);
  return taken;
}

}  // namespace tasklist
