// Reads of a window's state that the task list needs. Every call may meet a window that has just
// closed; it then reads as empty, 0 or false.
#pragma once

#include <windows.h>

#include <string>

namespace tasklist {

inline constexpr int kWindowTextBufferSize = 1023;
inline constexpr char kDialogClassName[] = "#32770";

std::string ClassNameOf(HWND wnd, int bufferSize = kWindowTextBufferSize);
std::string WindowTextOf(HWND wnd);
// The caption as UTF-16, with the characters that the system's code page lacks.
std::wstring WideWindowTextOf(HWND wnd);
bool IsToolWindow(HWND wnd);

}  // namespace tasklist
