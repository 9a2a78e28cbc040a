// Windows of the test program itself and how to find them among the task entries.
#pragma once

#include "base/Handle.h"
#include "tasklist/TaskList.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace testing_support {

// A caption no other test program's windows carry: `name` with this process's id.
std::string Tag(const std::string& name);

// A visible top-level window of this thread with that caption.
base::unique_hwnd OwnWindow(const std::string& caption, int x = 0, int y = 0, int width = 100, int height = 100);

// Position of the entry that activates `wnd`, or -1.
int IndexOfWindow(const tasklist::TWinInfos& tasks, HWND wnd);

// Waits up to `ms` until the fixture window is in the foreground or, since Wine may report no
// foreground window after an attached raise, has been activated since it counted `activationsBefore`.
::testing::AssertionResult Raised(HWND fixtureWindow, LONG_PTR activationsBefore, DWORD ms = 5000);

}  // namespace testing_support
