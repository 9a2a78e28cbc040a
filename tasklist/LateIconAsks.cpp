#include "tasklist/LateIconAsks.h"

#include "base/BoundedSend.h"
#include "base/Module.h"
#include "tasklist/TaskListOptions.h"
#include "tasklist/WindowIconQuery.h"

#include <utility>

namespace tasklist {
namespace {

HICON AskIcon(HWND wnd, bool bigFirst) {
  for (const WPARAM kind : IconKindsToAsk(bigFirst)) {
    DWORD_PTR answer = 0;
    if (!base::SendWithin(wnd, WM_GETICON, kind, 0, kLateIconTimeoutMs, answer)) return nullptr;
    if (answer) return reinterpret_cast<HICON>(answer);
  }
  return nullptr;
}

}  // namespace

void AskLateIcons(std::vector<LateWindow> windows, int iconSize, std::shared_ptr<LateAnswers::Sink> answers) {
  const bool bigFirst = BigIconsFirst(iconSize);
  (void)base::StartModuleThread([windows = std::move(windows), bigFirst, answers = std::move(answers)] {
    for (const LateWindow& window : windows) {
      if (answers->Stopped()) return;  // the menu that would show them has moved on
      if (const HICON icon = AskIcon(window.wnd, bigFirst)) {
        answers->Give(window.position, TaskIcon::Borrowed(icon, IconSource::kWindow));
      }
    }
  });
}

}  // namespace tasklist
