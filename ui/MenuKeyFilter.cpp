#include "ui/MenuKeyFilter.h"

#include "ui/ErrorBox.h"

#include <utility>

namespace ui {
namespace {

// The filter of the innermost open menu of this thread; a hook procedure has no context of its own.
thread_local MenuKeyFilter* innermost = nullptr;

}  // namespace

MenuKeyFilter::MenuKeyFilter(KeyHandler onKey)
    : onKey_(std::move(onKey)),
      outer_(std::exchange(innermost, this)),
      // One hook serves nested filters: it always asks the innermost.
      hook_(outer_ ? nullptr : ::SetWindowsHookExA(WH_MSGFILTER, &FilterProc, nullptr, ::GetCurrentThreadId())) {}

MenuKeyFilter::~MenuKeyFilter() {
  hook_.reset();
  innermost = outer_;
}

LRESULT CALLBACK MenuKeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_MENU && innermost && msg->message == WM_KEYDOWN) {
    const WPARAM key = msg->wParam;
    if (GuardedHandler([key] { return innermost->onKey_(key) ? TRUE : FALSE; })) return TRUE;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace ui
