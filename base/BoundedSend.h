// The one way the plug-in waits for a window of another thread: a message sent with a bound.
// SMTO_BLOCK, since a message sent to the waiting thread meanwhile would run the host's code in the
// middle of ours; SMTO_ABORTIFHUNG, since a hung window would only take the whole bound to fail.
#pragma once

#include <windows.h>

namespace base {

// Whether the window answered within `boundMs`; its reply in `reply`. A failure leaves the
// platform's error: ERROR_TIMEOUT when it did not answer in time.
[[nodiscard]] bool SendWithin(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT boundMs, DWORD_PTR& reply);

// How long a window's thread may take to answer before we treat it as hung.
inline constexpr UINT kResponsiveProbeMs = 250;

// Whether the window's thread answers within kResponsiveProbeMs.
[[nodiscard]] bool IsResponsive(HWND wnd);

}  // namespace base
