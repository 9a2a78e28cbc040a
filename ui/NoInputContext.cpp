#include "ui/NoInputContext.h"

#include "base/Module.h"
#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"

namespace ui {
namespace {

bool IsOfThisModule(HWND wnd) {
  return reinterpret_cast<HINSTANCE>(::GetClassLongPtrA(wnd, GCLP_HMODULE)) == base::ThisModule();
}

}  // namespace

NoInputContext::NoInputContext(HWND ours)
    : imm32_(base::LoadSystemLibrary("imm32.dll")),
      associate_(base::ProcAddress<decltype(associate_)>(imm32_.get(), "ImmAssociateContext")) {
  if (!associate_) return;
  Clear(ours);
  const HWND focus = ::GetFocus();
  if (focus != ours && IsOfThisModule(focus)) Clear(focus);
}

void NoInputContext::Clear(HWND wnd) {
  if (wnd) previous_.emplace_back(wnd, associate_(wnd, nullptr));
}

NoInputContext::~NoInputContext() {
  for (const auto& [wnd, context] : previous_) {
    if (::IsWindow(wnd)) associate_(wnd, context);
  }
}

}  // namespace ui
