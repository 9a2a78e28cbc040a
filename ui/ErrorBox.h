// The error box: how an exception that reaches one of our window procedures is shown. Window
// procedures never let an exception unwind into the platform's message dispatching.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// The message with a "." appended when its last character sorts after "." in byte order.
std::string ErrorBoxText(const std::string& message);
// The host program's file name without folder, cut at its first '.', lower case after the first
// character.
std::string ErrorBoxTitle();

// Shows the error modally with every other window of this thread disabled meanwhile. Out of
// memory, it shows the message as it is, under the platform's own title.
void ShowErrorBox(const char* message) noexcept;

// Runs handle() and shows any exception it throws in the error box; returns `fallback` then.
template <typename Handle>
LRESULT GuardedHandler(Handle&& handle, LRESULT fallback = 0) noexcept {
  try {
    return handle();
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
  } catch (...) {
    ShowErrorBox("unknown error");
  }
  return fallback;
}

}  // namespace ui
