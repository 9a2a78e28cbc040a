// The task menu's way into the action menu of one task. The task menu closes first and the action
// menu opens once its loop has returned, at the same point; after an action that leaves the user
// choosing, the task menu opens again there, refreshed, with the same task highlighted.
#include "taskmenu/TaskMenu.h"

namespace taskmenu {

void TTaskPopupMenu::AskActions(int position) {
  if (position < 0 || position >= ItemCount()) return;
  actionsAsked_ = position;
  ::EndMenu();
}

void TTaskPopupMenu::Cancel() {
  TPopupMenu::Cancel();
  actions_.Cancel();
}

HWND TTaskPopupMenu::RunAskedActions(int x, int y) {
  if (actionsAsked_ < 0 || Cancelled()) return nullptr;
  // Where a right click asked for the action menu, the click may also have chosen the item.
  MSG click;
  while (::PeekMessageA(&click, OwnerWindow(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
  }
  actions_.SetTheme(Theme());
  const int position = actionsAsked_;
  switch (actions_.Run(tasks_, position, x, y)) {
    case AfterActions::kSwitch:
      // Delivered as a click on the entry is: the trigger window gives the foreground back
      // only when the switch did not take it.
      ::PostMessageA(OwnerWindow(), WM_COMMAND, Items(position).Command(), 0);
      return nullptr;
    case AfterActions::kTasksAgain:
      return Cancelled() ? nullptr : tasks_.Items(position).RootWnd;
    case AfterActions::kDone:
      break;
  }
  return nullptr;
}

}  // namespace taskmenu
