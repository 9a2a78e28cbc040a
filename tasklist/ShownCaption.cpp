#include "tasklist/ShownCaption.h"

#include "tasklist/WindowQueries.h"
#include "ui/WideText.h"

namespace tasklist {
namespace {

// The longest 8-bit caption the window text read gives: its buffer less the terminating NUL.
constexpr size_t kLongestCaption = kWindowTextBufferSize - 1;

}  // namespace

std::wstring ShownCaption(const TWinInfo& task) {
  const std::string narrowed = ui::NarrowToAnsi(task.WideCaption);
  const bool same = narrowed == task.Caption ||
                    (task.Caption.size() == kLongestCaption && narrowed.compare(0, kLongestCaption, task.Caption) == 0);
  return same ? task.WideCaption : ui::WidenAnsi(task.Caption);
}

}  // namespace tasklist
