#include "ui/ErrorBox.h"

#include "base/Mbcs.h"

#include <vector>

namespace ui {
namespace {

// Start of the last character, stepping over double-byte characters from the front.
size_t LastCharacterStart(const std::string& text) {
  size_t last = 0;
  for (size_t i = 0; i < text.size(); i += base::IsLeadByte(text[i]) ? 2 : 1) last = i;
  return last;
}

// Out of memory, the collection stops: the windows collected so far are disabled.
BOOL CALLBACK CollectEnabledWindow(HWND wnd, LPARAM param) {
  if (!::IsWindowVisible(wnd) || !::IsWindowEnabled(wnd)) return TRUE;
  try {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

// Disables the thread's visible, enabled top-level windows for one scope, as a modal box needs.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() : active_(::GetActiveWindow()) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND wnd : disabled_) ::EnableWindow(wnd, FALSE);
  }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
  ~ThreadWindowsDisabled() {
    for (HWND wnd : disabled_) ::EnableWindow(wnd, TRUE);
    ::SetActiveWindow(active_);
  }

 private:
  HWND active_;
  std::vector<HWND> disabled_;
};

}  // namespace

std::string ErrorBoxText(const std::string& message) {
  if (message.empty()) return message;
  const auto last = static_cast<unsigned char>(message[LastCharacterStart(message)]);
  return last > '.' ? message + "." : message;
}

std::string ErrorBoxTitle() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string title = base::ExtractFileName(path);
  title = title.substr(0, base::FindOnBoundary(title, "."));
  if (title.size() > 1) {
    const size_t rest = base::IsLeadByte(title[0]) ? 2 : 1;
    if (rest < title.size()) ::CharLowerBuffA(&title[rest], static_cast<DWORD>(title.size() - rest));
  }
  return title;
}

void ShowErrorBox(const char* message) noexcept {
  if (const HWND capture = ::GetCapture()) ::SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ThreadWindowsDisabled disabled;
  try {
    const std::string text = ErrorBoxText(message);
    const std::string title = ErrorBoxTitle();
    ::MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    ::MessageBoxA(nullptr, message, nullptr, MB_OK | MB_ICONERROR);
  }
}

}  // namespace ui
