// Reads of a window's state that the task list needs. Every call may meet a window that has just
// closed; it then reads as empty, 0 or false. None of them waits for the window's thread.
#pragma once

#include "base/WindowThread.h"

#include <windows.h>

#include <string>

namespace tasklist {

inline constexpr int kWindowTextBufferSize = 1023;
inline constexpr char kDialogClassName[] = "#32770";

using base::ThreadOf;
using base::WindowThread;

std::string ClassNameOf(HWND wnd, int bufferSize = kWindowTextBufferSize);
// The caption as GetWindowTextA gives it into kWindowTextBufferSize bytes, without a lead byte
// whose trail byte did not fit. A caller that knows the window's thread passes it, which spares
// one read.
std::string WindowTextOf(HWND wnd);
std::string WindowTextOf(HWND wnd, const WindowThread& owner);
// The caption as UTF-16, with the characters that the system's code page lacks.
std::wstring WideWindowTextOf(HWND wnd, const WindowThread& owner);

}  // namespace tasklist
