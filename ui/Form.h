// A form: an object that owns one top-level window, created from a stored description, and
// dispatches the window's messages to the object. Exceptions from a handler are shown in the
// error box and never reach the message loop.
#pragma once

#include "base/Handle.h"
#include "ui/DispatchScope.h"

namespace ui {

struct FormDescription {
  const char* className;
  const char* caption;
  DWORD style;
  DWORD exStyle;
  int left;
  int top;
  int width;
  int height;
};

// Released through ReleaseWhenIdle, a form outlives the window procedures of ours on the stack.
class TForm : public TDeferredRelease {
 public:
  explicit TForm(const FormDescription& description) : description_(description) {}
  ~TForm() override;

  // The native window, created first when it does not exist (also when it was destroyed by
  // someone else). Throws base::Error when it cannot be created.
  HWND Handle();

 protected:
  // Creates the native window; overrides create what belongs to it right after.
  virtual void CreateWnd();
  // Detaches the window from the object before destroying it: no message of the destruction
  // reaches an object that is itself being destroyed.
  void DestroyWnd();
  // Handles a message; returns false to leave it to the default handling. Not pure: a message
  // can never call through an empty slot, even while the object is being built or destroyed.
  virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  FormDescription description_;
  base::unique_hwnd wnd_;
};

}  // namespace ui
