#include "base/Foreground.h"

#include "base/Handle.h"

#include <memory>
#include <new>

namespace base {
namespace {

// What the helper thread needs; it owns this and touches nothing of the caller's, so it may
// finish long after the caller stopped waiting.
struct AttachedRequest {
  HWND wnd;
  HWND foreground;
  DWORD foregroundThread;
  HMODULE module;  // a reference of ours: the helper's code stays mapped until it returns
};

bool RequestWithInputOf(const AttachedRequest& request) {
  if (!IsResponsive(request.foreground)) return false;  // never share input with a hung thread
  const DWORD ownThread = ::GetCurrentThreadId();
  if (!::AttachThreadInput(ownThread, request.foregroundThread, TRUE)) return false;
  const bool taken = ::SetForegroundWindow(request.wnd) != FALSE;
  ::AttachThreadInput(ownThread, request.foregroundThread, FALSE);
  // Detaching may leave the foreground without a window (Wine's does); an empty foreground is open
  // to every program, so the request is made once more.
  if (taken && !::GetForegroundWindow()) (void)::SetForegroundWindow(request.wnd);
  return taken;
}

DWORD WINAPI AttachedRequestThread(void* parameter) {
  HMODULE module = nullptr;
  DWORD taken = 0;
  {
    const std::unique_ptr<AttachedRequest> request(static_cast<AttachedRequest*>(parameter));
    module = request->module;
    taken = RequestWithInputOf(*request) ? 1 : 0;
  }
  ::FreeLibraryAndExitThread(module, taken);
}

HMODULE ReferenceOwnModule() {
  HMODULE module = nullptr;
  const auto address = reinterpret_cast<const char*>(&AttachedRequestThread);
  return ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, address, &module) ? module : nullptr;
}

bool RequestThroughHelper(HWND wnd, HWND foreground, DWORD foregroundThread) {
  const HMODULE module = ReferenceOwnModule();
  if (!module) return false;
  std::unique_ptr<AttachedRequest> request(new (std::nothrow) AttachedRequest{wnd, foreground, foregroundThread, module});
  unique_kernel_handle thread(
      request ? ::CreateThread(nullptr, 0, &AttachedRequestThread, request.get(), 0, nullptr) : nullptr);
  if (!thread) {
    ::FreeLibrary(module);
    return false;
  }
  (void)request.release();  // the helper owns it now
  DWORD taken = 0;
  return ::WaitForSingleObject(thread.get(), kAttachedRequestBoundMs) == WAIT_OBJECT_0 &&
         ::GetExitCodeThread(thread.get(), &taken) && taken == 1;
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
  return RequestThroughHelper(wnd, foreground, foregroundThread);
}

}  // namespace base
