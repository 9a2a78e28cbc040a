#include "ui/DpiContext.h"

#include "base/ProcAddress.h"

namespace ui {

PerMonitorDpiScope::PerMonitorDpiScope()
    : set_(base::ProcAddress<SetThreadDpiContextFunction>(::GetModuleHandleA("user32.dll"),
                                                          "SetThreadDpiAwarenessContext")) {
  if (!set_) return;
  previous_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  if (!previous_) previous_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}

void PerMonitorDpiScope::End() {
  if (previous_) (void)set_(previous_);
  previous_ = nullptr;
}

}  // namespace ui
