// The DPI awareness of this thread, per monitor for what the menu measures, places and creates:
// the host may be unaware of DPI, and its own code keeps whatever it chose. A window procedure runs
// in the context its window was created in, so the menu drawn by ours measures real pixels while
// the host's timers, hooks and windows see the host's own awareness.
#pragma once

#include <windows.h>

namespace ui {

using SetThreadDpiContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

class PerMonitorDpiScope {
 public:
  // Per monitor v2, else per monitor (Windows 10 before 1703 and Wine refuse v2), else nothing:
  // before Windows 10 the thread stays as it is.
  PerMonitorDpiScope();
  PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
  PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;
  ~PerMonitorDpiScope() { End(); }

  // Gives the thread its own awareness back before the scope ends; once only.
  void End();

 private:
  SetThreadDpiContextFunction set_ = nullptr;
  DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

}  // namespace ui
