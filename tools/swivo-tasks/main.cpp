// Prints the task list as the task menu would see it: answers "why is my window (not) listed?".
//
//   swivo-tasks [--sort] [--sort-title] [--editor] [--exclude LIST] [--exclude-class LIST] [--all]
//               [--find TEXT] [--monitor [X,Y]]
//
// --exclude and --exclude-class take the values of the settings Exclude and ExcludeClass. --all
// also lists every top-level window with the properties that decide whether it is a task, and the
// reason it is or is not one. --find tells which tasks typing TEXT in the open menu finds, and by
// which of their texts. --monitor adds each task's monitor and whether the menu would list it with
// Monitor=1, opened at the mouse cursor or at the point X,Y.
#include "FindReport.h"
#include "MonitorColumns.h"
#include "WhyListed.h"
#include "base/WideText.h"
#include "tasklist/TaskList.h"
#include "tasklist/TaskRefresh.h"
#include "tasklist/WindowQueries.h"
#include "tasklist/WindowSnapshot.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

const char* IconSourceName(tasklist::IconSource source) {
  switch (source) {
    case tasklist::IconSource::kWindow:
      return "window";
    case tasklist::IconSource::kWindowClass:
      return "class";
    case tasklist::IconSource::kAppIdentity:
      return "app";
    case tasklist::IconSource::kExecutable:
      return "exe";
    case tasklist::IconSource::kFileType:
      return "shell";
    default:
      return "none";
  }
}

void PrintTasks(const tasklist::TWinInfos& tasks) {
  std::printf("%-10s %-10s %-6s %-22s %s\n", "root", "window", "icon", "executable", "caption");
  for (int i = 0; i < tasks.Count(); ++i) {
    const tasklist::TWinInfo& task = tasks.Items(i);
    const char* icon = IconSourceName(task.Icon.Source());
    std::printf("%-10p %-10p %-6s %-22s %s\n", static_cast<void*>(task.RootWnd), static_cast<void*>(task.Wnd), icon,
                task.ExeName.c_str(), task.Caption.Ansi().c_str());
  }
  std::printf("%d task(s)\n", tasks.Count());
}

// The tasks without the exclusions, to tell the windows they left out; `tasks` when there are none.
const tasklist::TWinInfos& Unexcluded(const tasklist::TWinInfos& tasks, tasklist::TWinInfos& scratch) {
  if (tasks.Options().exclude.Empty() && tasks.Options().excludeClass.Empty()) return tasks;
  tasklist::Refresh(scratch);
  return scratch;
}

void PrintAllWindows(const tasklist::TWinInfos& tasks) {
  tasklist::TWinInfos scratch;
  const tasklist::TWinInfos& unexcluded = Unexcluded(tasks, scratch);
  std::printf("\n%-10s %-10s %-10s %-4s %-4s %-4s %-11s %-16s %-24s %s\n", "window", "owner", "parent", "vis", "dis",
              "tool", "size", "class", "caption", "why");
  tasklist::WindowSnapshot windows;
  for (const HWND wnd : windows.Windows()) {
    const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
    RECT rect{};
    ::GetWindowRect(wnd, &rect);
    char size[32];
    std::snprintf(size, sizeof(size), "%ldx%ld", rect.right - rect.left, rect.bottom - rect.top);
    std::printf("%-10p %-10p %-10p %-4s %-4s %-4s %-11s %-16s %-24s %s\n", static_cast<void*>(wnd),
                static_cast<void*>(::GetWindow(wnd, GW_OWNER)), static_cast<void*>(::GetParent(wnd)),
                (style & WS_VISIBLE) ? "yes" : "no", (style & WS_DISABLED) ? "yes" : "no",
                windows.IsToolWindow(wnd) ? "yes" : "no", size, tasklist::ClassNameOf(wnd).c_str(),
                tasklist::WindowTextOf(wnd).c_str(), WhyListed(wnd, tasks, unexcluded, windows).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  tasklist::TWinInfos tasks;
  // Every ordering starts off here and is switched on by its flag, unlike the plug-in's defaults.
  tasks.SetSortByCaption(false);
  bool all = false;
  const char* find = nullptr;
  bool monitors = false;
  POINT menuPoint{};
  ::GetCursorPos(&menuPoint);
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--sort")) tasks.SetSortByExe(true);
    else if (!std::strcmp(argv[i], "--sort-title")) tasks.SetSortByCaption(true);
    else if (!std::strcmp(argv[i], "--editor")) tasks.SetEditorMode(true);
    else if (!std::strcmp(argv[i], "--exclude") && i + 1 < argc) tasks.SetExclude(argv[++i]);
    else if (!std::strcmp(argv[i], "--exclude-class") && i + 1 < argc) tasks.SetExcludeClass(argv[++i]);
    else if (!std::strcmp(argv[i], "--all")) all = true;
    else if (!std::strcmp(argv[i], "--find") && i + 1 < argc) find = argv[++i];
    else if (!std::strcmp(argv[i], "--monitor")) {
      monitors = true;
      if (i + 1 < argc && std::sscanf(argv[i + 1], "%ld,%ld", &menuPoint.x, &menuPoint.y) == 2) ++i;
    } else {
      std::fprintf(
          stderr,
          "usage: swivo-tasks [--sort] [--sort-title] [--editor] [--exclude LIST] [--exclude-class LIST] [--all]\n"
          "                   [--find TEXT] [--monitor [X,Y]]\n");
      return 2;
    }
  }
  try {
    tasklist::Refresh(tasks);
    PrintTasks(tasks);
    if (all) PrintAllWindows(tasks);
    if (find) PrintFound(tasks, base::WidenAnsi(find));
    if (monitors) PrintMonitors(tasks, menuPoint);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swivo-tasks: %s\n", error.what());
    return 1;
  }
  return 0;
}
