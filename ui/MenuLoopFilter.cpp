#include "ui/MenuLoopFilter.h"

#include "ui/ErrorBox.h"

#include <utility>

namespace ui {
namespace {

// The filter of the innermost open menu of this thread; a hook procedure has no context of its own.
thread_local MenuLoopFilter* innermost = nullptr;

}  // namespace

MenuLoopFilter::MenuLoopFilter(std::function<void()> onLoopStart, KeyHandler onKey)
    : onLoopStart_(std::move(onLoopStart)),
      onKey_(std::move(onKey)),
      outer_(std::exchange(innermost, this)),
      // One hook serves nested filters: it always asks the innermost.
      hook_(outer_ ? nullptr : ::SetWindowsHookExA(WH_MSGFILTER, &FilterProc, nullptr, ::GetCurrentThreadId())) {}

MenuLoopFilter::~MenuLoopFilter() {
  hook_.reset();
  innermost = outer_;
}

LRESULT CALLBACK MenuLoopFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_MENU && innermost) {
    if (innermost->onLoopStart_) std::exchange(innermost->onLoopStart_, nullptr)();
    const bool isKey = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN || msg->message == WM_CHAR;
    if (isKey && innermost->onKey_ && GuardedHandler([msg] { return innermost->onKey_(*msg) ? TRUE : FALSE; })) {
      return TRUE;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace ui
