// Tracks whether one of our window procedures is on the stack. The host may call back into the
// plug-in from a message that our modal menu or our message dispatching hands it; objects retired
// then are released only once the outermost of our window procedures has returned.
//
// Neither the scopes nor the deferred releases allocate, and a scope whose frame was unwound
// without running its destructor (the platform swallowing a fault inside a window procedure) is
// recognised as gone by its stack address, so the guard can never stay raised.
//
// They serve one thread, the one that opened the first scope: our windows live there. A scope,
// question or release on another thread is a mistake of ours; see CallsFromOtherThreads.
#pragma once

#include <memory>

namespace ui {

class DispatchScope {
 public:
  DispatchScope() noexcept;
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
  ~DispatchScope();

 private:
  friend bool InDispatch() noexcept;
  // Forgets scopes whose frames lie below `frame`: they were unwound without their destructors.
  static void ForgetScopesBelow(const void* frame) noexcept;

  DispatchScope* outer_ = nullptr;
  bool fromOtherThread_ = false;
};

// On another thread than the served one, true: our procedures may be running there.
[[nodiscard]] bool InDispatch() noexcept;

// How many scopes, questions and releases came from another thread than the served one. Failing
// loudly would take the host down with us, so such calls do nothing instead (a release leaks its
// object) and are counted here, where tests look.
[[nodiscard]] int CallsFromOtherThreads() noexcept;

// An object whose release may have to wait for our window procedures to return. The link to the
// next waiting object lives in the object itself, so deferring it never needs memory.
class TDeferredRelease {
 public:
  TDeferredRelease() = default;
  TDeferredRelease(const TDeferredRelease&) = delete;
  TDeferredRelease& operator=(const TDeferredRelease&) = delete;
  virtual ~TDeferredRelease() = default;

 private:
  friend class DispatchScope;
  friend void ReleaseWhenIdle(std::unique_ptr<TDeferredRelease> object) noexcept;
  static void ReleasePending() noexcept;

  std::unique_ptr<TDeferredRelease> nextPending_;
};

// Destroys `object` now when no window procedure of ours is running, else when the outermost
// returns.
void ReleaseWhenIdle(std::unique_ptr<TDeferredRelease> object) noexcept;

}  // namespace ui
