#include "SampleWindows.h"

namespace {

constexpr char kSampleClass[] = "SwivoHostSample";
constexpr DWORD kThreadExitTimeoutMs = 5000;
constexpr DWORD kReadyTimeoutMs = 10000;
// Edge's zero-width space, Chinese and Korean: none of them is in code page 932.
constexpr wchar_t kWideCaption[] = L"Microsoft\u200B Edge \u2014 \u8FD9\u662F\u4E00\u4E2A\u6807\u9898 \uD55C\uAD6D\uC5B4";

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
