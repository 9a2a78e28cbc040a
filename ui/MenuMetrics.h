// The sizes of the menu's items at a DPI: the small-icon size, the menu font and the margins,
// as the system's own menus take them on a monitor of that DPI.
#pragma once

#include "base/Handle.h"

#include <windows.h>

namespace ui {

inline constexpr UINT kDefaultDpi = 96;

struct MenuMetrics {
  UINT dpi = kDefaultDpi;
  int iconSize = 16;
  int margin = 3;
  int textGap = 6;
};

// The DPI the window is drawn at; the default where the platform cannot tell (before Windows 10).
[[nodiscard]] UINT DpiOfWindow(HWND wnd);
[[nodiscard]] MenuMetrics MenuMetricsAt(UINT dpi);
// The system's menu font at `dpi`; null when no font can be made.
[[nodiscard]] base::unique_hfont CreateMenuFont(UINT dpi);

}  // namespace ui
