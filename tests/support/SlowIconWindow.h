// One window, on a thread of its own, whose procedure takes its time to answer WM_GETICON, then
// answers with the icon it was given (borrowed: it must outlive the window).
#pragma once

#include "base/Handle.h"

#include <windows.h>

namespace testing_support {

class SlowIconWindow {
 public:
  SlowIconWindow(HICON icon, DWORD answerMs);
  SlowIconWindow(const SlowIconWindow&) = delete;
  SlowIconWindow& operator=(const SlowIconWindow&) = delete;
  ~SlowIconWindow();

  HWND Window() const { return window_; }
  // What its procedure does for WM_GETICON.
  LRESULT AnswerIcon() const {
    ::Sleep(answerMs_);
    return reinterpret_cast<LRESULT>(icon_);
  }

 private:
  static DWORD WINAPI Run(void* self);
  DWORD Loop();

  HICON icon_;
  DWORD answerMs_;
  HWND window_ = nullptr;
  base::unique_kernel_handle ready_{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  base::unique_kernel_handle thread_;
  DWORD threadId_ = 0;
};

}  // namespace testing_support
