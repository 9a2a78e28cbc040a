// Asks the windows that were too slow to answer within the refresh for their icons once more, on
// a thread of its own (base::StartModuleThread), so that the menu opens without waiting for them.
// Each icon, borrowed from its window, goes to the answers under the window's task position. The
// asks stop once the menu let go of the answers; each ask waits at most kLateIconTimeoutMs.
#pragma once

#include "tasklist/LateAnswers.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace tasklist {

inline constexpr UINT kLateIconTimeoutMs = 1000;

struct LateWindow {
  size_t position = 0;  // of its task in the list
  HWND wnd = nullptr;
};

// Asks nobody when the thread cannot be started.
void AskLateIcons(std::vector<LateWindow> windows, int iconSize, std::shared_ptr<LateAnswers::Sink> answers);

}  // namespace tasklist
