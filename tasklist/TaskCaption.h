// A task's caption, read both as the system's code page gives it (what ordering, the editor mode
// and typed keys go by) and as UTF-16 (what the menu shows).
#pragma once

#include "tasklist/TaskList.h"

#include <windows.h>

#include <string>

namespace tasklist {

// Sets the entry's Caption and WideCaption from the window's text. A text of ASCII characters
// alone reads the same in every code page, so it is read once.
void ReadCaptions(HWND wnd, TWinInfo& task);

// The window's text with every character, unless the 8-bit caption no longer says the same (the
// editor mode rewrote it, or the text changed between the two reads): then the 8-bit caption.
std::wstring ShownCaption(const TWinInfo& task);

}  // namespace tasklist
