// Tracks whether one of our window procedures is on the stack. The host may call back into the
// plug-in from a message that our modal menu or our message dispatching hands it; objects retired
// then are released only once the outermost of our window procedures has returned.
#pragma once

#include <functional>

namespace ui {

class DispatchScope {
 public:
  DispatchScope();
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
  ~DispatchScope();
};

bool InDispatch();

// Runs `release` now when no window procedure of ours is running, else when the outermost returns.
void ReleaseWhenIdle(std::function<void()> release);

}  // namespace ui
