// The action menu of one task: what a user does to its window (switch to it, maximise, restore,
// minimise, close, and end a program that stopped responding), in the task menu's look. It opens
// where the task menu was, after the task menu has closed: a menu tracked inside an open one
// would tie the two loops together (and under Wine end both).
#pragma once

#include "tasklist/TaskList.h"
#include "ui/PopupMenu.h"

#include <windows.h>

#include <optional>
#include <string>

namespace taskmenu {

// Whether a key the open task menu reads asks for the highlighted task's action menu: the
// Applications key, or Shift+F10.
[[nodiscard]] bool IsActionMenuKey(const MSG& key);

// What the task menu does once the action menu has closed.
enum class AfterActions {
  kDone,        // nothing: dismissed by a click elsewhere, or cancelled
  kSwitch,      // activates the task as choosing its entry does
  kTasksAgain,  // opens again with the task's entry highlighted: the user goes on choosing
};

// The items of the action menu, from the top.
enum class TaskAction { kSwitch, kMaximize, kRestore, kMinimize, kClose, kEndTask, kConfirmEndTask };

class TActionMenu : public ui::TPopupMenu {
 public:
  TActionMenu() = default;
  ~TActionMenu() override { DestroyOwner(); }

  // Opens the action menu of entry `index` at (x, y) and carries out what is chosen: the window
  // actions are posted to the window, never sent; End task, offered while the window does not
  // respond, asks once more in the reopened menu and ends the program only when that is chosen.
  AfterActions Run(const tasklist::TWinInfos& tasks, int index, int x, int y);

 protected:
  bool TakeKey(const MSG& key) override;

 private:
  // What the menu shows of End task: not at all, refused (grey), offered, or asking.
  enum class EndTaskRow { kNone, kRefused, kOffered, kConfirming };

  // Tracks the menu once; none when it was dismissed.
  std::optional<TaskAction> Choose(const tasklist::TWinInfo& task, EndTaskRow endTask, int x, int y);
  void AddAction(TaskAction action, const std::wstring& caption, char accelerator, bool enabled);

  std::optional<TaskAction> chosen_;
  bool escaped_ = false;  // dismissed by Esc rather than by a click elsewhere
};

}  // namespace taskmenu
