// Taking the foreground for a window. The platform refuses it to a program that did not get the
// last input (a trigger from a keyboard hook, a timer or another program); a thread that shares
// its input with the foreground window's thread may still hand it over. Input is never synthesised.
#pragma once

#include <windows.h>

namespace tasklist {

// Makes `wnd` the foreground window. When the platform refuses, tries once more with our input
// attached to the foreground window's thread, if that thread answers; never attaches to a hung
// one, which would hold us with it. Returns whether the platform accepted the request.
[[nodiscard]] bool TakeForeground(HWND wnd);

}  // namespace tasklist
