// Rebuilding the task list from the current top-level windows: the roots, the window to activate
// for each, its caption, icon and executable; then what the settings leave out, the windows that
// stopped responding, the order and the editor's open files. It stands above the ordering and the
// editor query, which it calls; the collection below keeps the entries and what outlives one
// refresh.
#pragma once

#include "tasklist/TaskList.h"

namespace tasklist {

// `iconSize` is the size of the menu's icons, by the DPI of the monitor it opens on; with a
// `monitor`, only the tasks on it are listed (WindowMonitor.h). Throws as GetProcessExePath does;
// the collection then holds what was found so far.
void Refresh(TWinInfos& tasks, int iconSize = kSmallIconSize, HMONITOR monitor = nullptr);

}  // namespace tasklist
