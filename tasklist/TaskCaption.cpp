#include "tasklist/TaskCaption.h"

#include "base/WideText.h"
#include "tasklist/WindowQueries.h"

#include <algorithm>

namespace tasklist {
namespace {

// The longest 8-bit caption the window text read gives: its buffer less the terminating NUL.
constexpr size_t kLongestCaption = kWindowTextBufferSize - 1;

bool IsAscii(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

}  // namespace

void ReadCaptions(HWND wnd, TWinInfo& task) {
  task.WideCaption = WideWindowTextOf(wnd);
  task.Caption = IsAscii(task.WideCaption) ? std::string(task.WideCaption.begin(), task.WideCaption.end())
                                           : WindowTextOf(wnd);
}

std::wstring ShownCaption(const TWinInfo& task) {
  const std::string narrowed = base::NarrowToAnsi(task.WideCaption);
  const bool same = narrowed == task.Caption ||
                    (task.Caption.size() == kLongestCaption && narrowed.compare(0, kLongestCaption, task.Caption) == 0);
  return same ? task.WideCaption : base::WidenAnsi(task.Caption);
}

}  // namespace tasklist
