// A library named like the desktop window manager's, placed beside the test programs. It exports
// nothing; loading it leaves a mark in the process's environment, which outlives it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) ::SetEnvironmentVariableA("SwivoMarkerLoaded_dwmapi", "1");
  return TRUE;
}
