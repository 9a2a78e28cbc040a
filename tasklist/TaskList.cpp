#include "tasklist/TaskList.h"

#include "tasklist/BringToMonitor.h"
#include "tasklist/IconLookup.h"
#include "tasklist/LateIconAsks.h"
#include "tasklist/NUnit.h"

#include <utility>
#include <vector>

namespace tasklist {
void TWinInfos::AskLateIcons(const LateAnswers& answers, int iconSize) {
  std::vector<LateWindow> windows;
  for (int i = 0; i < Count(); ++i) {
    const TWinInfo& task = Items(i);
    const auto position = static_cast<size_t>(i);
    if (task.IconLate) windows.push_back({position, task.Wnd});
    if (task.AppImageLate) kept_.storeApps.AskImage(task.AppId, iconSize, position, answers.Answers());
  }
  if (!windows.empty()) tasklist::AskLateIcons(std::move(windows), iconSize, answers.Answers());
}

TaskIcon TWinInfos::FallbackIcon(int index, int iconSize) {
  const TWinInfo& task = Items(index);
  return IconLookup(options_, kept_.executableIcons, iconSize).After(task.Icon.Source(), task.Wnd, task.IconPath);
}

TWinInfo* TWinInfos::FindByRoot(HWND root) const {
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).RootWnd == root) return &Items(i);
  }
  return nullptr;
}

int TWinInfos::PreviousTask(HWND front) const {
  const TWinInfo* frontTask = front ? FindByRoot(::GetAncestor(front, GA_ROOTOWNER)) : nullptr;
  int previous = -1;
  for (int i = 0; i < Count(); ++i) {
    if (&Items(i) == frontTask) continue;
    if (previous < 0 || Items(i).ZOrder < Items(previous).ZOrder) previous = i;
  }
  return previous;
}

bool TWinInfos::PostSystemCommand(int index, WPARAM command) const {
  return ::PostMessageA(Items(index).Wnd, WM_SYSCOMMAND, command, 0) != FALSE;
}

void TWinInfos::Activate(int index) const {
  const HWND wnd = Items(index).Wnd;
  (void)BringToTop(wnd);
  if (::IsWindowVisible(wnd) && !::IsIconic(wnd)) return;
  // Posted: the window's thread restores it when it gets there, and however slow that thread is,
  // the host does not wait for it.
  (void)PostSystemCommand(index, SC_RESTORE);
}

// A window on its way over is restored by the move itself: a restore posted behind it would come
// after it and undo a maximised window's state.
void TWinInfos::BringHere(int index, HMONITOR monitor) const {
  const HWND wnd = Items(index).Wnd;
  if (BringToMonitor(wnd, monitor)) {
    (void)BringToTop(wnd);
  } else {
    Activate(index);
  }
}

}  // namespace tasklist
