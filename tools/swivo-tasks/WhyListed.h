// The reason a top-level window is or is not a task, for people asking "why is my window (not)
// listed?".
#pragma once

#include "tasklist/TaskList.h"
#include "tasklist/WindowSnapshot.h"

#include <windows.h>

#include <string>

std::string WhyListed(HWND wnd, const tasklist::TWinInfos& tasks, tasklist::WindowSnapshot& windows);
