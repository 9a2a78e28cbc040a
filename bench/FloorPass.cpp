#include "bench/FloorPass.h"

#include "bench/Measure.h"
#include "tasklist/NUnit.h"
#include "tasklist/WindowQueries.h"
#include "ui/EnumWindows.h"

#include <map>
#include <string>

namespace bench {

FloorResult RunFloorPass() {
  FloorResult result;
  std::map<DWORD, std::string> paths;
  size_t textBytes = 0;
  LONG styles = 0;
  const double start = NowMs();
  ui::EnumTopLevelWindows([&](HWND wnd) {
    ++result.windows;
    styles ^= ::GetWindowLongA(wnd, GWL_STYLE) ^ ::GetWindowLongA(wnd, GWL_EXSTYLE);
    textBytes += tasklist::WindowTextOf(wnd).size();
    DWORD processId = 0;
    ::GetWindowThreadProcessId(wnd, &processId);
    if (!paths.count(processId)) paths[processId] = tasklist::GetWindowExePath(wnd);
    return true;
  });
  result.ms = NowMs() - start;
  result.processes = static_cast<int>(paths.size());
  // The reads above are what is measured; using them keeps the pass honest to any optimiser.
  if (textBytes == 0 && styles == 0) result.windows = -result.windows;
  return result;
}

}  // namespace bench
