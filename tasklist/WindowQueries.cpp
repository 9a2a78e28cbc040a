#include "tasklist/WindowQueries.h"

#include <vector>

namespace tasklist {
namespace {

template <typename Read>
std::string ReadText(int bufferSize, Read read) {
  std::vector<char> buffer(static_cast<size_t>(bufferSize), '\0');
  const int length = read(buffer.data(), bufferSize);
  return length > 0 ? std::string(buffer.data(), static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::string ClassNameOf(HWND wnd, int bufferSize) {
  return ReadText(bufferSize, [wnd](char* buffer, int size) { return ::GetClassNameA(wnd, buffer, size); });
}

std::string WindowTextOf(HWND wnd) {
  return ReadText(kWindowTextBufferSize,
                  [wnd](char* buffer, int size) { return ::GetWindowTextA(wnd, buffer, size); });
}

std::wstring WideWindowTextOf(HWND wnd) {
  std::vector<wchar_t> buffer(static_cast<size_t>(kWindowTextBufferSize), L'\0');
  const int length = ::GetWindowTextW(wnd, buffer.data(), kWindowTextBufferSize);
  return length > 0 ? std::wstring(buffer.data(), static_cast<size_t>(length)) : std::wstring();
}

bool IsToolWindow(HWND wnd) { return (::GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; }

}  // namespace tasklist
