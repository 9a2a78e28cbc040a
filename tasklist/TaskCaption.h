// A task's caption, read both as the system's code page gives it (what ordering, the editor mode
// and typed keys go by) and as UTF-16 (what the menu shows).
#pragma once

#include "tasklist/WindowQueries.h"

#include <windows.h>

#include <string>

namespace tasklist {

struct WindowCaptions {
  std::string ansi;    // as the system's code page gives it
  std::wstring shown;  // the same text with every character the code page lacks
};

// The window's text both ways. A text of ASCII characters alone reads the same in every code
// page, so it is read once. `owner` is the window's thread.
WindowCaptions ReadCaptions(HWND wnd, const WindowThread& owner);

}  // namespace tasklist
