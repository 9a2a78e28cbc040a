// Drives an open popup menu from inside its modal loop: a thread timer waits for the menu window
// (class "#32768") and then runs an action on it, such as posting keys. Single-threaded, so that
// emulated 32-bit test processes stay steady.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// The open (visible) popup menu window, or 0.
HWND OpenMenuWindow();
// The native menu that an open menu window shows.
HMENU NativeMenuOf(HWND menuWindow);

// Runs `action(menuWindow)` once the menu is open; gives up after `timeoutMs`.
void WhenMenuOpens(std::function<void(HWND)> action, DWORD timeoutMs = 20000);
// The same for the next menu after `previous`, a menu window that is closing.
void WhenNextMenuOpens(HWND previous, std::function<void(HWND)> action, DWORD timeoutMs = 20000);
// Whether the last scheduled action has run.
bool MenuActionRan();

// Posts a key to the open menu window: a character (WM_CHAR) or a virtual key (WM_KEYDOWN).
void TypeInMenu(HWND menuWindow, char character);
void PressInMenu(HWND menuWindow, WPARAM virtualKey);

// Runs `action(box)` once a message box with this title (any title when null) is shown.
void WhenMessageBoxOpens(const char* title, std::function<void(HWND)> action, DWORD timeoutMs = 20000);
// The text of a message box.
std::string MessageBoxText(HWND box);

}  // namespace testing_support
