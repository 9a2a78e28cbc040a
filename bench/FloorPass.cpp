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
  const double start = NowMs();
  ui::EnumTopLevelWindows([&](HWND wnd) {
    ++result.windows;
    (void)::GetWindowLongA(wnd, GWL_STYLE);
    (void)::GetWindowLongA(wnd, GWL_EXSTYLE);
    (void)tasklist::WindowTextOf(wnd);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(wnd, &processId);
    if (!paths.count(processId)) paths[processId] = tasklist::GetWindowExePath(wnd);
    return true;
  });
  result.ms = NowMs() - start;
  result.processes = static_cast<int>(paths.size());
  return result;
}

}  // namespace bench
