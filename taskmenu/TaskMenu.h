// The popup menu of the running tasks: rebuilt from a fresh task list at every popup, one item
// per task with its icon and caption; choosing an item activates that task. The images of the
// icons are kept from one popup to the next (TaskImages); a new icon is copied when its item is
// first drawn, or while the open menu waits for input.
#pragma once

#include "taskmenu/MenuMonitor.h"
#include "taskmenu/ActionMenu.h"
#include "taskmenu/MenuSettings.h"
#include "taskmenu/TaskFinding.h"
#include "taskmenu/TaskImages.h"
#include "tasklist/LateAnswers.h"
#include "tasklist/TaskList.h"
#include "ui/PopupMenu.h"

#include <memory>
#include <string>

namespace taskmenu {

class TTaskPopupMenu : public ui::TPopupMenu {
 public:
  TTaskPopupMenu() = default;
  ~TTaskPopupMenu() override { DestroyOwner(); }  // before the tasks that its handlers read

  // The message by which the late answers (a slow window's icon, a store app's image) tell the
  // owner window of an arrival.
  static constexpr UINT kLateIconMessage = WM_APP + 1;

  // Rebuilds the menu and tracks it at (x, y); returns at once while a popup is running. `front`
  // is the window that was in front when the user asked for the menu (none: not known).
  void PopupTasks(int x, int y, HWND front = nullptr);

  void SetSort(bool value) { tasks_.SetSortByExe(value); }
  void SetVNE(bool value) { tasks_.SetEditorMode(value); }
  void SetSortTitle(bool value) { tasks_.SetSortByCaption(value); }
  void SetAutoHotKey(int value) { acceleratorStyle_ = value; }
  void SetWindowIcon(bool value) { tasks_.SetWindowIcon(value); }
  void SetExclude(const std::string& list) { tasks_.SetExclude(list); }
  void SetExcludeClass(const std::string& list) { tasks_.SetExcludeClass(list); }
  void SetPreselect(bool value) { preselect_ = value; }
  void SetCloseKey(bool value) { closeKey_ = value; }
  void SetFind(int value) { find_ = value; }
  void SetMonitor(bool value) { thisMonitorOnly_ = value; }
  void SetActionMenu(bool value) { actionMenu_ = value; }

  std::string FormatItemCaption(const std::string& caption) const;
  void TaskItemClick(ui::TMenuItem& item);
  // Delete closes the item's window and greys the item; Shift+Delete minimises the window.
  void TaskItemCloseKey(ui::TMenuItem& item, ui::CloseRequest request);

  bool InPopup() const { return inPopup_; }
  bool Preselect() const { return preselect_; }
  bool CloseKey() const { return closeKey_; }
  bool ThisMonitorOnly() const { return thisMonitorOnly_; }
  bool ActionMenu() const { return actionMenu_; }
  int AcceleratorStyle() const { return acceleratorStyle_; }
  int Find() const { return find_; }
  const tasklist::TWinInfos& Tasks() const { return tasks_; }

  // Also closes an open action menu, and keeps the task menu from opening again after it.
  void Cancel() override;

 private:
  // Builds and tracks the menu once, with the entry of `again`'s root highlighted, else the
  // preselection's.
  void PopupOnce(int x, int y, HWND front, HWND again);
  // The keys of finding, of the action menu and of bringing a window here.
  bool TakeKey(const MSG& key) override;
  // The highlighted task's action menu: the task menu closes first, and the action menu opens
  // once its loop has returned (TaskMenuActions.cpp).
  void AskActions(int position);
  // Runs the action menu asked for in the pass that just ended; returns the root window whose
  // entry the task menu opens with again, or none.
  HWND RunAskedActions(int x, int y);
  void AddTaskItem(const tasklist::TWinInfo& task, int image);
  // Asks for the icons the refresh could not give in time, to be drawn while the menu is open.
  void AskLateIcons(int iconSize);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  int PendingImage(int position) override;
  // An answer of this popup's late asks for the task at position `answered` (a slow window's
  // icon, a store app's image): it is copied at once, while the window still shows it, and drawn
  // in place.
  void LateIconAnswered(size_t answered);
  // What FormatItemCaption appends for the item about to be added.
  std::string AcceleratorSuffix() const;

  tasklist::TWinInfos tasks_;
  TaskImages images_;
  std::unique_ptr<tasklist::LateAnswers> lateAnswers_;
  // From the key that starts finding until the menu closes.
  std::unique_ptr<TaskFinding> finding_;
  int iconSize_ = 0;       // of this popup's images
  LPARAM lateSerial_ = 0;  // tells the answers of this popup's asks from earlier ones
  bool inPopup_ = false;
  int acceleratorStyle_ = kDefaultAcceleratorStyle;
  bool preselect_ = kDefaultPreselect;
  bool closeKey_ = kDefaultCloseKey;
  int find_ = kDefaultFind;  // one of FindStarts
  bool thisMonitorOnly_ = kDefaultThisMonitorOnly;
  MenuMonitor monitor_;
  bool actionMenu_ = kDefaultActionMenu;
  TActionMenu actions_;
  int actionsAsked_ = -1;  // the entry whose action menu the user asked for in this pass
};

}  // namespace taskmenu
