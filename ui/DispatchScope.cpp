#include "ui/DispatchScope.h"

#include <utility>

namespace ui {
namespace {

// The innermost live scope; each links to the one around it. The stack grows downwards, so a
// live scope always lies above (at a higher address than) the frames it calls.
DispatchScope* innermost = nullptr;
std::unique_ptr<TDeferredRelease> pending;

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
  ForgetScopesBelow(this);
  outer_ = innermost;
  innermost = this;
}

DispatchScope::~DispatchScope() {
  if (innermost != this) return;  // forgotten already
  // The outermost scope stays counted while it releases: destroying windows re-enters our
  // procedures, which must not start releasing themselves.
  if (!outer_) TDeferredRelease::ReleasePending();
  innermost = outer_;
}

bool InDispatch() noexcept {
  const char here = 0;
  DispatchScope::ForgetScopesBelow(&here);
  return innermost != nullptr;
}

void ReleaseWhenIdle(std::unique_ptr<TDeferredRelease> object) noexcept {
  if (!object) return;
  object->nextPending_ = std::move(pending);
  pending = std::move(object);
  if (!InDispatch()) TDeferredRelease::ReleasePending();
}

}  // namespace ui
