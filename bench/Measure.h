// Wall-clock timing, the moment a measured menu is shown, and the median of repeated
// measurements.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

inline double NowMs() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// For a menu owner's WM_ENTERIDLE: the first time the open menu waits for input, notes the time
// in `shownAt` (0 until then) and closes the menu with Esc, so that the measured popup returns.
inline void NoteMenuShownAndClose(WPARAM wParam, LPARAM lParam, double& shownAt) {
  if (wParam != MSGF_MENU || shownAt != 0.0) return;
  shownAt = NowMs();
  ::PostMessageA(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, VK_ESCAPE, 0);
}

// The CPU is shared with other work, so single runs are noisy; the median ignores the outliers.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

}  // namespace bench
