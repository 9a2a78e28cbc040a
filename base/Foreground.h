// Taking the foreground for a window. The platform refuses it to a program that did not get the
// last input (a trigger from a keyboard hook, a timer or another program); a thread that shares
// its input with the foreground window's thread may still permit it. Input is never synthesised.
#pragma once

#include <windows.h>

namespace base {

// How long the caller waits for the helper thread that gets it the permission.
inline constexpr DWORD kPermissionBoundMs = 250;

// Makes `wnd` the foreground window. When the platform refuses, a short-lived helper thread
// attaches its own input to the foreground window's thread, if that thread answers, lets this
// process take the foreground and detaches at once; the caller's input is never attached, and the
// caller asks again itself. Asked from another queue, the activation does not wait for the
// foreground thread to let go, so nothing lands after the caller went on. The caller waits for the
// helper at most kPermissionBoundMs; a late helper permits nothing. Returns whether the platform
// accepted the request.
[[nodiscard]] bool TakeForeground(HWND wnd);

}  // namespace base
