#include "tasklist/WindowQueries.h"

#include "base/Mbcs.h"
#include "base/WideText.h"

#include <utility>
#include <vector>

namespace tasklist {
namespace {

template <typename Char, typename Read>
std::basic_string<Char> ReadText(int bufferSize, Read read) {
  std::vector<Char> buffer(static_cast<size_t>(bufferSize), Char{});
  const int length = read(buffer.data(), bufferSize);
  return length > 0 ? std::basic_string<Char>(buffer.data(), static_cast<size_t>(length)) : std::basic_string<Char>();
}

// GetWindowText sends WM_GETTEXT to a window of another thread of this process and waits for that
// thread without limit; for other processes it reads the text that the window system keeps.
bool IsAnotherThreadOfOurs(const WindowThread& owner) {
  return owner.process == ::GetCurrentProcessId() && owner.thread != ::GetCurrentThreadId();
}

// The text that the window system keeps for the window, read without asking its thread.
std::wstring StoredText(HWND wnd) {
  return ReadText<wchar_t>(kWindowTextBufferSize,
                           [wnd](wchar_t* buffer, int size) { return ::InternalGetWindowText(wnd, buffer, size); });
}

}  // namespace

std::string ClassNameOf(HWND wnd, int bufferSize) {
  return ReadText<char>(bufferSize, [wnd](char* buffer, int size) { return ::GetClassNameA(wnd, buffer, size); });
}

std::string WindowTextOf(HWND wnd) { return WindowTextOf(wnd, ThreadOf(wnd)); }

std::string WindowTextOf(HWND wnd, const WindowThread& owner) {
  std::string text;
  if (IsAnotherThreadOfOurs(owner)) {
    text = base::NarrowToAnsi(StoredText(wnd));
    if (text.size() >= kWindowTextBufferSize) text.resize(kWindowTextBufferSize - 1);
  } else {
    text = ReadText<char>(kWindowTextBufferSize,
                          [wnd](char* buffer, int size) { return ::GetWindowTextA(wnd, buffer, size); });
  }
  return base::WithoutLoneLeadByte(std::move(text));
}

std::wstring WideWindowTextOf(HWND wnd, const WindowThread& owner) {
  if (IsAnotherThreadOfOurs(owner)) return StoredText(wnd);
  return ReadText<wchar_t>(kWindowTextBufferSize,
                           [wnd](wchar_t* buffer, int size) { return ::GetWindowTextW(wnd, buffer, size); });
}

}  // namespace tasklist
