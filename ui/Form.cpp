#include "ui/Form.h"

namespace ui {

TForm::~TForm() { DestroyWnd(); }

HWND TForm::Handle() {
  if (!wnd_) CreateWnd();
  return wnd_.get();
}

}  // namespace ui
