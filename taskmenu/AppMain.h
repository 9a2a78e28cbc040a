// The trigger window: a hidden top-level window that answers the trigger message by showing the
// task menu, taking the foreground for it and giving the foreground back when it was dismissed.
#pragma once

#include "taskmenu/MenuSettings.h"
#include "taskmenu/TaskMenu.h"
#include "ui/Form.h"

#include <memory>
#include <string>

namespace taskmenu {

// The trigger message: WM_HOTKEY with this wParam, posted, never registered as a hot key.
inline constexpr WPARAM kTriggerHotKeyId = 0x4321;
// How long the foreground may settle after the menu before it is given back.
inline constexpr DWORD kSettleDelayMs = 100;

class TMainForm : public ui::TForm {
 public:
  // Comes into being also when the platform cannot make its native window or the menu's (out of
  // USER or GDI objects): Handle() makes them later.
  TMainForm();
  ~TMainForm() override;

  void SetMenuFixPos(bool value) { fixedPos_ = value; }
  void SetXPos(int value) { fixedX_ = value; }
  void SetYPos(int value) { fixedY_ = value; }
  void SetSort(bool value) { Menu().SetSort(value); }
  void SetVNE(bool value) { Menu().SetVNE(value); }
  void SetSortTitle(bool value) { Menu().SetSortTitle(value); }
  void SetAutoHotKey(int value) { Menu().SetAutoHotKey(value); }
  void SetWindowIcon(bool value) { Menu().SetWindowIcon(value); }
  void SetExclude(const std::string& list) { Menu().SetExclude(list); }
  void SetExcludeClass(const std::string& list) { Menu().SetExcludeClass(list); }
  void SetPreselect(bool value) { Menu().SetPreselect(value); }
  void SetCloseKey(bool value) { Menu().SetCloseKey(value); }
  void SetMonitor(bool value) { Menu().SetMonitor(value); }
  void SetActionMenu(bool value) { Menu().SetActionMenu(value); }
  void SetTheme(int value) { Menu().SetTheme(value); }
  void SetFind(int value) { Menu().SetFind(value); }
  bool MenuFixPos() const { return fixedPos_; }
  int XPos() const { return fixedX_; }
  int YPos() const { return fixedY_; }

  void ShowTaskMenu();
  // Closes an open menu (also one still being built) and makes the window ignore what is still
  // under way, so that the object can be released as soon as our message handling has unwound.
  void Retire();
  TTaskPopupMenu& Menu() const { return *menu_; }

 protected:
  void CreateWnd() override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void WMHotKey(WPARAM id);
  POINT MenuPoint() const;
  void DispatchWaitingMessages();

  std::unique_ptr<TTaskPopupMenu> menu_;
  bool retired_ = false;
  // The mark of the dispatch under way; a mark with other numbers (a stray post) changes nothing.
  WPARAM marksPosted_ = 0;
  LPARAM markCookie_ = 0;
  bool markReached_ = false;
  bool fixedPos_ = kDefaultMenuFixPos;
  int fixedX_ = kDefaultFixedX;
  int fixedY_ = kDefaultFixedY;
};

}  // namespace taskmenu
