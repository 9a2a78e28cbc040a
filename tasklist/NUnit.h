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

// Reads executable paths as GetProcessExePath does, with the process status library loaded at its
// first read and kept while the reader lives: a refresh reads many processes, and loading the
// library costs as much as the read itself.
class ExePathReader {
 public:
  // Throws as GetProcessExePath does.
  [[nodiscard]] std::string Of(DWORD processId);

 private:
  using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
  using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);

  std::string FromModules(DWORD processId);

  base::unique_hmodule psapi_;
  EnumProcessModulesFn enumModules_ = nullptr;
  GetModuleFileNameExFn moduleFileName_ = nullptr;
};

// Icon of the file name's type, made for the caller (empty when the shell has none).
[[nodiscard]] base::unique_hicon GetFileIcon(const std::string& fileName, bool large);

}  // namespace tasklist
