// Sample application windows that the stand-in host opens in its own process, on a thread of
// their own: the plug-in can read and draw their icons even where another process's icons are
// out of reach. One sets its own icon, one has only the host executable's icon, and one has a
// caption with characters outside the ANSI code page.
#pragma once

#include <windows.h>

class SampleWindows {
 public:
  // Returns once the windows exist.
  SampleWindows();
  SampleWindows(const SampleWindows&) = delete;
  SampleWindows& operator=(const SampleWindows&) = delete;
  // Closes them and ends their thread.
  ~SampleWindows();

 private:
  static DWORD WINAPI Run(void* ready);

  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
};
