#include "ui/UxTheme.h"

#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"

namespace ui {

bool UxTheme::Load() {
  if (!tried_) {
    tried_ = true;
    library_ = base::LoadSystemLibrary("uxtheme.dll");
    open = base::ProcAddress<decltype(open)>(library_.get(), "OpenThemeData");
    close = base::ProcAddress<decltype(close)>(library_.get(), "CloseThemeData");
    drawBackground = base::ProcAddress<decltype(drawBackground)>(library_.get(), "DrawThemeBackground");
    color = base::ProcAddress<decltype(color)>(library_.get(), "GetThemeColor");
  }
  return open && close && drawBackground && color;
}

}  // namespace ui
