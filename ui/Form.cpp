#include "ui/Form.h"

#include "ui/DispatchScope.h"
#include "ui/Error.h"
#include "ui/ErrorBox.h"
#include "ui/Module.h"

namespace ui {

TForm::~TForm() { DestroyWnd(); }

HWND TForm::Handle() {
  if (!wnd_) CreateWnd();
  return wnd_.get();
}

void TForm::CreateWnd() {
  WNDCLASSA windowClass{};
  if (!::GetClassInfoA(ThisModule(), description_.className, &windowClass)) {
    windowClass.lpfnWndProc = &FormProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = description_.className;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    ::RegisterClassA(&windowClass);
  }
  wnd_.reset(::CreateWindowExA(description_.exStyle, description_.className, description_.caption,
                               description_.style, description_.left, description_.top, description_.width,
                               description_.height, nullptr, nullptr, ThisModule(), this));
  if (!wnd_) throw Error(std::string("cannot create the window ") + description_.className);
}

void TForm::DestroyWnd() {
  if (!wnd_) return;
  wnd_.reset();
  // A class registered by a library outlives it unless unregistered; this fails quietly while
  // another window of the class exists.
  ::UnregisterClassA(description_.className, ThisModule());
}

LRESULT CALLBACK TForm::FormProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  }
  DispatchScope dispatching;  // the form may be retired meanwhile; it goes when this returns
  auto* form = reinterpret_cast<TForm*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (form && msg != WM_NCCREATE) {
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
