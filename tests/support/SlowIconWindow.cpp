#include "tests/support/SlowIconWindow.h"

namespace testing_support {
namespace {

constexpr char kClass[] = "SwivoTestSlowIconWindow";

// The window's user data is its SlowIconWindow.
LRESULT CALLBACK AnswersSlowly(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto* self = reinterpret_cast<const SlowIconWindow*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (msg != WM_GETICON || !self) return ::DefWindowProcA(wnd, msg, wParam, lParam);
  return self->AnswerIcon();
}

}  // namespace

SlowIconWindow::SlowIconWindow(HICON icon, DWORD answerMs) : icon_(icon), answerMs_(answerMs) {
  thread_.reset(::CreateThread(nullptr, 0, &Run, this, 0, &threadId_));
  ::WaitForSingleObject(ready_.get(), 10000);
}

SlowIconWindow::~SlowIconWindow() {
  ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  ::WaitForSingleObject(thread_.get(), 10000);
}

DWORD WINAPI SlowIconWindow::Run(void* self) { return static_cast<SlowIconWindow*>(self)->Loop(); }

DWORD SlowIconWindow::Loop() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &AnswersSlowly;
  windowClass.lpszClassName = kClass;
  ::RegisterClassA(&windowClass);  // fails harmlessly when an earlier window registered it
  window_ = ::CreateWindowExA(0, kClass, "answers slowly", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetEvent(ready_.get());
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
  ::DestroyWindow(window_);
  return 0;
}

}  // namespace testing_support
