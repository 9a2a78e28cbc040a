#include "ui/DpiContext.h"

#include "base/ProcAddress.h"

namespace ui {
namespace {

using SetContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

SetContextFunction SetThreadContext() {
  return base::ProcAddress<SetContextFunction>(::GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext");
}

}  // namespace

PerMonitorDpiScope::PerMonitorDpiScope() {
  const SetContextFunction set = SetThreadContext();
  if (!set) return;
  previous_ = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  if (!previous_) previous_ = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}

PerMonitorDpiScope::~PerMonitorDpiScope() {
  if (previous_) (void)SetThreadContext()(previous_);
}

}  // namespace ui
