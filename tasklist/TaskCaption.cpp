#include "tasklist/TaskCaption.h"

#include <algorithm>

namespace tasklist {
namespace {

bool IsAscii(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

}  // namespace

WindowCaptions ReadCaptions(HWND wnd, const WindowThread& owner) {
  WindowCaptions captions;
  captions.shown = WideWindowTextOf(wnd, owner);
  captions.ansi = IsAscii(captions.shown) ? std::string(captions.shown.begin(), captions.shown.end())
                                          : WindowTextOf(wnd, owner);
  return captions;
}

}  // namespace tasklist
