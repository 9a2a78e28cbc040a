// Helpers on windows, processes and files that the task list needs, and the one state they share:
// the platform identifier, read once at start-up, which decides how an executable's path is found.
#pragma once

#include "base/Handle.h"

#include <windows.h>

#include <string>

namespace tasklist {

// dwPlatformId as GetVersionExA reported it when the library started; 2 is the NT family.
// Tests may assign another value to take the paths of older systems.
extern DWORD Win32Platform;

// Raises W to the top and gives it the foreground without waiting for W's thread. A window of
// another thread that does not answer is only asked to come up when it recovers, and the result
// is false; otherwise the result is whether the raise was accepted.
[[nodiscard]] bool BringToTop(HWND wnd);

// Path of the executable of the process that owns the window, or empty. Throws base::Error on the
// NT family when the process status library or its functions are missing.
[[nodiscard]] std::string GetWindowExePath(HWND wnd);
// The same for a process id.
[[nodiscard]] std::string GetProcessExePath(DWORD processId);

// Icon of the file name's type, made for the caller (empty when the shell has none).
[[nodiscard]] base::unique_hicon GetFileIcon(const std::string& fileName, bool large);

}  // namespace tasklist
