#include "tasklist/WindowSnapshot.h"

#include "base/EnumWindows.h"
#include "tasklist/WindowQueries.h"

namespace tasklist {
namespace {

template <typename Value, typename Read>
const Value& ReadOnce(std::optional<Value>& slot, Read read) {
  if (!slot) slot = read();
  return *slot;
}

}  // namespace

WindowSnapshot::WindowSnapshot() {
  base::EnumTopLevelWindows([this](HWND wnd) {
    windows_.push_back(wnd);
    return true;
  });
  states_.reserve(windows_.size());
}

HWND WindowSnapshot::Owner(HWND wnd) {
  return ReadOnce(states_[wnd].owner, [wnd] { return ::GetWindow(wnd, GW_OWNER); });
}

HWND WindowSnapshot::TopmostOwner(HWND wnd) {
  HWND topmost = Owner(wnd);
  // Owners are read at different moments, and a program may change one meanwhile; the bound
  // keeps a cycle made that way from holding us forever.
  for (size_t steps = 0; topmost && steps <= windows_.size(); ++steps) {
    const HWND next = Owner(topmost);
    if (!next) break;
    topmost = next;
  }
  return topmost;
}

bool WindowSnapshot::HasOwnerOrParent(HWND wnd) {
  if (Owner(wnd)) return true;
  // Without an owner, only a child-styled window can have a parent: the style spares the read.
  return (Style(wnd) & WS_CHILD) && ::GetParent(wnd);
}

LONG WindowSnapshot::Style(HWND wnd) {
  return ReadOnce(states_[wnd].style, [wnd] { return ::GetWindowLongA(wnd, GWL_STYLE); });
}

LONG WindowSnapshot::ExStyle(HWND wnd) {
  return ReadOnce(states_[wnd].exStyle, [wnd] { return ::GetWindowLongA(wnd, GWL_EXSTYLE); });
}

bool WindowSnapshot::IsToolWindow(HWND wnd) { return (ExStyle(wnd) & WS_EX_TOOLWINDOW) != 0; }

const std::string& WindowSnapshot::ClassName(HWND wnd) {
  return ReadOnce(states_[wnd].className, [wnd] { return ClassNameOf(wnd); });
}

Exclusion WindowSnapshot::SwitchExclusion(HWND wnd) {
  if (!switchTests_) switchTests_.emplace();
  return ReadOnce(states_[wnd].switchExclusion, [this, wnd] { return switchTests_->Test(wnd, *this); });
}

}  // namespace tasklist
