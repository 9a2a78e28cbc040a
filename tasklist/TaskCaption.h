// A task's caption, read both as the system's code page gives it (what ordering, the editor mode
// and typed keys go by) and as UTF-16 (what the menu shows). One value, set as a whole, so that
// the two never tell different texts.
#pragma once

#include "tasklist/WindowQueries.h"

#include <windows.h>

#include <string>

namespace tasklist {

class TaskCaption {
 public:
  TaskCaption() = default;
  TaskCaption(std::string ansi, std::wstring shown) : ansi_(std::move(ansi)), shown_(std::move(shown)) {}
  // A caption written in the code page, as the editor mode writes one: shown as it reads.
  static TaskCaption FromAnsi(std::string ansi);

  const std::string& Ansi() const { return ansi_; }
  // The same text with every character the code page lacks.
  const std::wstring& Shown() const { return shown_; }

 private:
  std::string ansi_;
  std::wstring shown_;
};

// The window's text both ways. A text of ASCII characters alone reads the same in every code
// page, so it is read once. `owner` is the window's thread.
TaskCaption ReadCaption(HWND wnd, const WindowThread& owner);

}  // namespace tasklist
