// Whether a window's thread answers, and taking the foreground for a window. The platform refuses it to a program that did not get the
// last input (a trigger from a keyboard hook, a timer or another program); a thread that shares
// its input with the foreground window's thread may still hand it over. Input is never synthesised.
#pragma once

#include <windows.h>

namespace base {

// How long a window's thread may take to answer before we treat it as hung.
inline constexpr UINT kResponsiveProbeMs = 250;

// Whether the window's thread answers within kResponsiveProbeMs.
[[nodiscard]] bool IsResponsive(HWND wnd);

// How long the caller waits for the helper thread that makes the attached request.
inline constexpr DWORD kAttachedRequestBoundMs = 250;

// Makes `wnd` the foreground window. When the platform refuses, a short-lived helper thread
// attaches its own input to the foreground window's thread, if that thread answers, and asks
// once more; the caller's input is never attached. Sharing input makes the deactivation of the
// foreground window a wait for its thread, so the caller waits for the helper at most
// kAttachedRequestBoundMs. Returns whether the platform accepted the request in that time.
[[nodiscard]] bool TakeForeground(HWND wnd);

}  // namespace base
