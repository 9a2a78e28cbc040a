// The reason a top-level window is or is not a task, for people asking "why is my window (not)
// listed?".
#pragma once

#include "tasklist/TaskList.h"
#include "tasklist/WindowSnapshot.h"

#include <windows.h>

#include <string>

// `unexcluded` is the same collection refreshed without the settings' exclusions; `tasks` itself
// when there are none.
std::string WhyListed(HWND wnd, const tasklist::TWinInfos& tasks, const tasklist::TWinInfos& unexcluded,
                      tasklist::WindowSnapshot& windows);
