#include "base/Foreground.h"

#include "base/Handle.h"

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
  std::atomic<bool> abandoned{false};
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

// The helper's part of what it shares with the caller, and a reference to our module: the
// helper's code stays mapped until it returns, which is soon after the probe whatever other
// programs do.
struct HelperStart {
  std::shared_ptr<ForegroundPermission> permission;
  HMODULE module;
};

DWORD WINAPI PermissionThread(void* parameter) {
  HMODULE module = nullptr;
  DWORD permitted = 0;
  {
    const std::unique_ptr<HelperStart> start(static_cast<HelperStart*>(parameter));
    module = start->module;
    permitted = PermitWithInputOf(*start->permission) ? 1 : 0;
  }
  ::FreeLibraryAndExitThread(module, permitted);
}

HMODULE ReferenceOwnModule() {
  HMODULE module = nullptr;
  const auto address = reinterpret_cast<const char*>(&PermissionThread);
  return ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, address, &module) ? module : nullptr;
}

bool PermitThroughHelper(HWND foreground, DWORD foregroundThread) {
  std::shared_ptr<ForegroundPermission> permission(new (std::nothrow) ForegroundPermission{foreground, foregroundThread});
  if (!permission) return false;
  const HMODULE module = ReferenceOwnModule();
  if (!module) return false;
  std::unique_ptr<HelperStart> start(new (std::nothrow) HelperStart{permission, module});
  unique_kernel_handle thread(start ? ::CreateThread(nullptr, 0, &PermissionThread, start.get(), 0, nullptr) : nullptr);
  if (!thread) {
    ::FreeLibrary(module);
    return false;
  }
  (void)start.release();  // the helper owns it now
  DWORD permitted = 0;
  if (::WaitForSingleObject(thread.get(), kPermissionBoundMs) == WAIT_OBJECT_0 &&
      ::GetExitCodeThread(thread.get(), &permitted)) {
    return permitted == 1;
  }
  permission->abandoned = true;
  return false;
}

}  // namespace

bool IsResponsive(HWND wnd) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kResponsiveProbeMs, &ignored) != 0;
}

bool TakeForeground(HWND wnd) {
  if (::SetForegroundWindow(wnd)) return true;
  const HWND foreground = ::GetForegroundWindow();
  const DWORD foregroundThread = ::GetWindowThreadProcessId(foreground, nullptr);
  if (!foreground || foregroundThread == ::GetCurrentThreadId()) return false;
  return PermitThroughHelper(foreground, foregroundThread) && ::SetForegroundWindow(wnd);
}

}  // namespace base
