#include "bench/FloorPass.h"

#include "base/EnumWindows.h"
#include "bench/Measure.h"
#include "tasklist/NUnit.h"
#include "tasklist/WindowIconQuery.h"
#include "tasklist/WindowQueries.h"

#include <map>
#include <string>

namespace bench {

FloorResult RunFloorPass() {
  FloorResult result;
  std::map<DWORD, std::string> paths;
  const double start = NowMs();
  base::EnumTopLevelWindows([&](HWND wnd) {
    ++result.windows;
    const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongA(wnd, GWL_EXSTYLE);
    (void)tasklist::WindowTextOf(wnd);
    if ((style & WS_VISIBLE) && !(exStyle & WS_EX_TOOLWINDOW)) {
      DWORD_PTR icon = 0;
      (void)::SendMessageTimeoutA(wnd, WM_GETICON, ICON_SMALL2, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                  tasklist::kWindowIconTimeoutMs, &icon);
    }
    const DWORD processId = tasklist::ThreadOf(wnd).process;
    if (!paths.count(processId)) paths[processId] = tasklist::GetWindowExePath(wnd);
    return true;
  });
  result.ms = NowMs() - start;
  result.processes = static_cast<int>(paths.size());
  return result;
}

}  // namespace bench
