// For --monitor: which monitor each task is on, and whether the menu would list it with
// Monitor=1 when it opens at a given point.
#pragma once

#include "tasklist/TaskList.h"

#include <windows.h>

void PrintMonitors(const tasklist::TWinInfos& tasks, POINT menuPoint);
