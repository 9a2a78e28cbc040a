#include "ui/DispatchScope.h"

#include <windows.h>

#include <atomic>
#include <utility>

namespace ui {
namespace {

// The innermost live scope; each links to the one around it. The stack grows downwards, so a
// live scope always lies above (at a higher address than) the frames it calls.
DispatchScope* innermost = nullptr;
std::unique_ptr<TDeferredRelease> pending;

std::atomic<DWORD> servedThread{0};
std::atomic<int> callsFromOtherThreads{0};

// The first caller's thread becomes the served one.
bool OnServedThread() noexcept {
  const DWORD current = ::GetCurrentThreadId();
  DWORD served = 0;
  if (servedThread.compare_exchange_strong(served, current) || served == current) return true;
  ++callsFromOtherThreads;
  return false;
}

}  // namespace

void TDeferredRelease::ReleasePending() noexcept {
  // An object released here may defer others while its windows are destroyed; the loop takes
  // them too.
  while (std::unique_ptr<TDeferredRelease> object = std::move(pending)) pending = std::move(object->nextPending_);
}

void DispatchScope::ForgetScopesBelow(const void* frame) noexcept {
  while (innermost && static_cast<const void*>(innermost) < frame) innermost = innermost->outer_;
}

DispatchScope::DispatchScope() noexcept {
  fromOtherThread_ = !OnServedThread();
  if (fromOtherThread_) return;
  ForgetScopesBelow(this);
  outer_ = innermost;
  innermost = this;
}

DispatchScope::~DispatchScope() {
  if (fromOtherThread_ || innermost != this) return;  // never counted, or forgotten already
  // The outermost scope stays counted while it releases: destroying windows re-enters our
  // procedures, which must not start releasing themselves.
  if (!outer_) TDeferredRelease::ReleasePending();
  innermost = outer_;
}

bool InDispatch() noexcept {
  if (!OnServedThread()) return true;
  const char here = 0;
  DispatchScope::ForgetScopesBelow(&here);
  return innermost != nullptr;
}

void ReleaseWhenIdle(std::unique_ptr<TDeferredRelease> object) noexcept {
  if (!object) return;
  // Destroying it here would destroy windows of the served thread, which the platform refuses,
  // and leave them pointing at a freed object.
  if (!OnServedThread()) {
    (void)object.release();
    return;
  }
  object->nextPending_ = std::move(pending);
  pending = std::move(object);
  if (!InDispatch()) TDeferredRelease::ReleasePending();
}

int CallsFromOtherThreads() noexcept { return callsFromOtherThreads; }

}  // namespace ui
