// What typing a text in the open menu finds: each task, whether the text finds it and by which of
// its texts, so that a user can see why a window is (not) found.
#pragma once

#include "tasklist/TaskList.h"

#include <string>

void PrintFound(const tasklist::TWinInfos& tasks, const std::wstring& query);
