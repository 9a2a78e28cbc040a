// A form: an object that owns one top-level window, created from a stored description, and
// handles the window's messages (BoundWindow). Exceptions from a handler are shown in the error
// box and never reach the message loop.
#pragma once

#include "base/Handle.h"
#include "ui/BoundWindow.h"
#include "ui/DispatchScope.h"

namespace ui {

// Released through ReleaseWhenIdle, a form outlives the window procedures of ours on the stack.
class TForm : public TDeferredRelease {
 public:
  explicit TForm(const WindowDescription& description) : description_(description) {}
  ~TForm() override;

  // The native window, created first when it does not exist (also when it was destroyed by
  // someone else). Throws base::Error when it cannot be created.
  HWND Handle();

 protected:
  // Creates the native window in the host's DPI awareness: its handlers run the host's code (the
  // menu's message loop among it), which must not find the thread's awareness changed. Overrides
  // create what belongs to the window right after.
  virtual void CreateWnd() { BoundWindow<TForm>::Create(*this, description_); }
  void DestroyWnd() { BoundWindow<TForm>::Destroy(*this, description_.className); }
  // Handles a message of the window; the default handling takes what a form does not. Virtual, not
  // pure: a message can never call through an empty slot, even while the object is being built or
  // destroyed.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(wnd_.get(), msg, wParam, lParam);
  }

 private:
  friend class BoundWindow<TForm>;
  base::unique_hwnd& BoundHandle() { return wnd_; }

  WindowDescription description_;
  base::unique_hwnd wnd_;
};

}  // namespace ui
