#include "ui/NoInputContext.h"

#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"

namespace ui {

NoInputContext::NoInputContext(HWND ours)
    : imm32_(base::LoadSystemLibrary("imm32.dll")),
      associate_(base::ProcAddress<decltype(associate_)>(imm32_.get(), "ImmAssociateContext")),
      wnd_(ours) {
  if (associate_ && wnd_) previous_ = associate_(wnd_, nullptr);
}

NoInputContext::~NoInputContext() {
  if (associate_ && wnd_ && ::IsWindow(wnd_)) associate_(wnd_, previous_);
}

}  // namespace ui
