#include "tasklist/TaskCaption.h"

#include "base/WideText.h"

#include <algorithm>

namespace tasklist {
namespace {

bool IsAscii(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

}  // namespace

TaskCaption TaskCaption::FromAnsi(std::string ansi) {
  std::wstring shown = base::WidenAnsi(ansi);
  return {std::move(ansi), std::move(shown)};
}

TaskCaption ReadCaption(HWND wnd, const WindowThread& owner) {
  std::wstring shown = WideWindowTextOf(wnd, owner);
  std::string ansi = IsAscii(shown) ? std::string(shown.begin(), shown.end()) : WindowTextOf(wnd, owner);
  return {std::move(ansi), std::move(shown)};
}

}  // namespace tasklist
