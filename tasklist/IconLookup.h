// Chooses a task's icon, first found in this order: the window's own icon; its class's small
// icon, then the class's icon; the executable's own first icon; the icon of the file's type.
// Without window icons, the choice is the class's small icon, else the type's icon. Lives for one
// refresh; the executables' own icons and their types' come from the collection's
// ExecutableIcons, which outlive the refresh. Each step takes the big icon first when the menu's
// icons are larger than small ones (BigIconsFirst).
#pragma once

#include "tasklist/ExecutableIcons.h"
#include "tasklist/TaskIcon.h"
#include "tasklist/TaskListOptions.h"
#include "tasklist/WindowIconQuery.h"

#include <windows.h>

#include <string>

namespace tasklist {

class IconLookup {
 public:
  IconLookup(const TaskListOptions& options, ExecutableIcons& executableIcons, int iconSize)
      : windowIcons_(options.windowIcon),
        largeIcons_(BigIconsFirst(iconSize)),
        executableIcons_(executableIcons) {}

  TaskIcon For(HWND wnd, const std::string& exePath) {
    if (TaskIcon icon = OwnIcon(wnd)) return icon;
    return FileIcon(exePath);
  }
  // The steps of the window itself: its own icon and its class's.
  TaskIcon OwnIcon(HWND wnd);
  // The steps of the executable at `exePath`: its own first icon and its file type's.
  TaskIcon FileIcon(const std::string& exePath);
  // What the steps after the one that gave an icon from `gone` find: for an icon that went away
  // before it was used. The class's icons come after the window's own, the executable's after them.
  TaskIcon After(IconSource gone, HWND wnd, const std::string& exePath);
  // Whether the window answered when asked for its icon.
  bool Answered(HWND wnd) const { return windowQuery_.Answered(wnd); }
  bool Unanswered(HWND wnd) const { return windowQuery_.Unanswered(wnd); }

 private:
  TaskIcon ClassIcons(HWND wnd) const;

  bool windowIcons_;
  bool largeIcons_;  // the menu's icons are larger than small icons: big ones are not stretched up
  ExecutableIcons& executableIcons_;
  WindowIconQuery windowQuery_;
};

}  // namespace tasklist
