// A form: an object that owns one top-level window, created from a stored description, and
// dispatches the window's messages to the object. Exceptions from a handler are shown in the
// error box and never reach the message loop.
#pragma once

#include "ui/Handle.h"

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

class TForm {
 public:
  explicit TForm(const FormDescription& description) : description_(description) {}
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;
  virtual ~TForm();

  // The native window, created first when it does not exist.
  HWND Handle();

 protected:
  // Creates the native window; overrides create what belongs to it right after.
  virtual void CreateWnd();
  void DestroyWnd();
  // Handles a message; returns false to leave it to the default handling.
  virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

 private:
  static LRESULT CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  FormDescription description_;
  unique_hwnd wnd_;
};

}  // namespace ui
