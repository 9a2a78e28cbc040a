#include "SampleWindows.h"

namespace {

constexpr char kSampleClass[] = "SwivoHostSample";
constexpr DWORD kThreadExitTimeoutMs = 5000;
constexpr DWORD kReadyTimeoutMs = 10000;
// Captions as a Japanese user's desktop shows them: "議事録.txt - メモ帳" (minutes in a text
// editor) and "家計簿 - 表計算" (household accounts in a spreadsheet), and accented letters that
// code page 932 lacks (its text reads "Creme brulee..."), which the fonts of a Japanese system
// still draw.
constexpr wchar_t kEditorCaption[] = L"\u8B70\u4E8B\u9332.txt - \u30E1\u30E2\u5E33";
constexpr wchar_t kSpreadsheetCaption[] = L"\u5BB6\u8A08\u7C3F - \u8868\u8A08\u7B97";
constexpr wchar_t kAccentedCaption[] = L"Cr\u00E8me br\u00FBl\u00E9e \u00E0 la fran\u00E7aise, \u00D1and\u00FA";

HWND OpenSample(const wchar_t* caption, int x, int y) {
  const HWND wnd = ::CreateWindowExA(0, kSampleClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 320, 140, nullptr,
                                     nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetWindowTextW(wnd, caption);
  return wnd;
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

  const HWND ownIcon = OpenSample(kEditorCaption, 60, 420);
  const HICON icon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
  ::SendMessageA(ownIcon, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  ::SendMessageA(ownIcon, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  OpenSample(kSpreadsheetCaption, 90, 460);
  OpenSample(kAccentedCaption, 120, 500);
  ::SetEvent(ready);

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  // Windows of a thread go with it; the class with the process.
  return 0;
}
