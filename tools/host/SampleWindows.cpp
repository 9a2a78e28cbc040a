#include "SampleWindows.h"

namespace {

constexpr char kSampleClass[] = "SwivoHostSample";
constexpr DWORD kThreadExitTimeoutMs = 5000;
constexpr DWORD kReadyTimeoutMs = 10000;
// Accented letters that code page 932 lacks (its text reads "Creme brulee..."), and that the
// fonts of a Japanese system still draw.
constexpr wchar_t kWideCaption[] = L"Cr\u00E8me br\u00FBl\u00E9e \u00E0 la fran\u00E7aise, \u00D1and\u00FA";

HWND OpenSample(const char* caption, int x, int y) {
  return ::CreateWindowExA(0, kSampleClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 320, 140, nullptr,
                           nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

SampleWindows::SampleWindows() {
  const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = ::CreateThread(nullptr, 0, &Run, ready, 0, &threadId_);
  if (thread_) ::WaitForSingleObject(ready, kReadyTimeoutMs);
  ::CloseHandle(ready);
}

SampleWindows::~SampleWindows() {
  if (!thread_) return;
  ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread_, kThreadExitTimeoutMs);
  ::CloseHandle(thread_);
}

DWORD WINAPI SampleWindows::Run(void* ready) {
  WNDCLASSA windowClass{};  // no class icons: the windows' icons are their own or the executable's
  windowClass.lpfnWndProc = &::DefWindowProcA;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kSampleClass;
  ::RegisterClassA(&windowClass);

  const HWND ownIcon = OpenSample("Sample with its own icon", 60, 420);
  const HICON icon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
  ::SendMessageA(ownIcon, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  ::SendMessageA(ownIcon, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  OpenSample("Sample with the program's icon", 90, 460);
  ::SetWindowTextW(OpenSample("", 120, 500), kWideCaption);
  ::SetEvent(ready);

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  // Windows of a thread go with it; the class with the process.
  return 0;
}
