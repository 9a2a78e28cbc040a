#include "base/Foreground.h"

#include "base/BoundedSend.h"
#include "base/Handle.h"
#include "base/Module.h"
#include "base/WindowThread.h"

#include <atomic>
#include <memory>
#include <new>

namespace base {
namespace {

// What the helper thread and its caller share. The helper may finish after the caller stopped
// waiting; it then lets nothing happen on the caller's behalf.
struct ForegroundPermission {
  HWND foreground;
  DWORD foregroundThread;
  unique_kernel_handle done{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> abandoned{false};
  std::atomic<bool> permitted{false};
};

// Shares input with the foreground thread just long enough to let this process take the
// foreground. Nothing here waits for that thread beyond the probe: the activation itself is asked
// for by the caller, whose request does not wait for the foreground thread's deactivation.
bool PermitWithInputOf(const ForegroundPermission& permission) {
  if (!IsResponsive(permission.foreground)) return false;  // never share input with a hung thread
  const DWORD ownThread = ::GetCurrentThreadId();
  if (!::AttachThreadInput(ownThread, permission.foregroundThread, TRUE)) return false;
  const bool permitted = !permission.abandoned && ::AllowSetForegroundWindow(::GetCurrentProcessId()) != FALSE;
  ::AttachThreadInput(ownThread, permission.foregroundThread, FALSE);
  return permitted;
}

// The helper holds our module only until it returns, which is soon after the probe whatever other
// programs do.
bool PermitThroughHelper(HWND foreground, DWORD foregroundThread) {
  const std::shared_ptr<ForegroundPermission> permission(new (std::nothrow)
                                                             ForegroundPermission{foreground, foregroundThread});
  if (!permission || !permission->done) return false;
  const bool started = StartModuleThread([permission] {
    permission->permitted = PermitWithInputOf(*permission);
    ::SetEvent(permission->done.get());
  });
  if (started && ::WaitForSingleObject(permission->done.get(), kPermissionBoundMs) == WAIT_OBJECT_0) {
    return permission->permitted;
  }
  permission->abandoned = true;
  return false;
}

}  // namespace

bool TakeForeground(HWND wnd) {
  if (::SetForegroundWindow(wnd)) return true;
  const HWND foreground = ::GetForegroundWindow();
  const DWORD foregroundThread = ThreadOf(foreground).thread;
  if (!foreground || foregroundThread == ::GetCurrentThreadId()) return false;
  return PermitThroughHelper(foreground, foregroundThread) && ::SetForegroundWindow(wnd);
}

}  // namespace base
