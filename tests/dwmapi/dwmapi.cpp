// Stand-in for the desktop window manager's library, placed beside the test programs, where it
// is loaded instead of the system's own. It reports the windows that a fixture marks as cloaked
// and answers everything else as Wine does (E_NOTIMPL), so other programs in the folder see no
// difference.
#include "tools/common/CloakMark.h"

#include <windows.h>

namespace {

constexpr DWORD kCloakedAttribute = 14;  // DWMWA_CLOAKED
constexpr DWORD kCloakedByShell = 2;     // DWM_CLOAKED_SHELL

// Looked up when the library is loaded: while no window carries the mark, no window is read.
ATOM cloakMark = 0;

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DwmGetWindowAttribute(HWND wnd, DWORD attribute, void* value,
                                                                       DWORD size) {
  if (attribute != kCloakedAttribute || size != sizeof(DWORD) || !value) return E_NOTIMPL;
  if (!cloakMark || !::GetPropA(wnd, MAKEINTATOM(cloakMark))) return E_NOTIMPL;
  *static_cast<DWORD*>(value) = kCloakedByShell;
  return S_OK;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) cloakMark = ::GlobalFindAtomA(kCloakMarkProperty);
  return TRUE;
}
