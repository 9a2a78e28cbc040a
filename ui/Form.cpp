#include "ui/Form.h"

#include "base/Error.h"
#include "base/Module.h"
#include "ui/DispatchScope.h"
#include "ui/ErrorBox.h"
#include "ui/WindowClass.h"

namespace ui {

TForm::~TForm() { DestroyWnd(); }

HWND TForm::Handle() {
  if (!wnd_) CreateWnd();
  return wnd_.get();
}

void TForm::CreateWnd() {
  RegisterWindowClass(description_.className, &FormProc);
  // In the host's own DPI awareness: its handlers run the host's code (the menu's message loop
  // among it), which must not find the thread's awareness changed.
  // The window becomes ours at its first message (FormProc); a failed creation leaves none.
  const HWND created = ::CreateWindowExA(description_.exStyle, description_.className, description_.caption,
                                         description_.style, description_.left, description_.top,
                                         description_.width, description_.height, nullptr, nullptr, base::ThisModule(), this);
  if (!created || wnd_.get() != created) throw base::Error(std::string("cannot create the window ") + description_.className);
}

void TForm::DestroyWnd() {
  DestroyBoundWindow(wnd_);
  // Also when someone else destroyed the window: the class must not outlive the library.
  UnregisterWindowClass(description_.className);
}

bool TForm::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK TForm::FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DispatchScope dispatching;  // the form may be retired meanwhile; it goes when this returns
  // Destroyed by someone else, the window is made anew when it is next needed.
  if (auto* form = ObjectOfDestroyedWindow<TForm>(wnd, msg)) ForgetDestroyedWindow(form->wnd_, wnd);
  if (auto* form = BoundObject<TForm>(wnd, msg, lParam)) {
    OwnOnCreate(form->wnd_, wnd, msg);
    bool handled = true;  // a handler that failed has had its say in the error box
    const LRESULT result = GuardedHandler([&] {
      LRESULT handlerResult = 0;
      handled = form->HandleMessage(msg, wParam, lParam, handlerResult);
      return handlerResult;
    });
    if (handled) return result;
  }
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace ui
