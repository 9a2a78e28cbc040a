// An item of a popup menu of ours: what it shows, what keys choose it and what choosing it does.
#pragma once

#include "ui/ItemText.h"
#include "ui/MenuChar.h"

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace ui {

class TPopupMenu;

// What the keys that close a highlighted item ask for: Delete, and Shift+Delete.
enum class CloseRequest { kClose, kMinimize };

class TMenuItem {
 public:
  // An image not made yet: the menu asks for it when the item is about to be drawn, or while
  // the open menu waits for input (TPopupMenu::PendingImage).
  static constexpr int kImagePending = -2;

  ItemText Text;        // what is shown, and what screen readers name the item by
  MenuKey Key;          // what typed keys choose the item by
  int ImageIndex = -1;  // position in the menu's image list; -1 for none, or kImagePending
  bool Enabled = true;  // a disabled item is drawn grey, and choosing it does nothing
  bool Dimmed = false;  // drawn grey, and still chosen as usual
  // Ranges [first, second) of Text.Caption drawn marked, as found by typing.
  std::vector<std::pair<size_t, size_t>> Marks;
  std::function<void(TMenuItem&)> OnClick;
  // Runs while the menu stays open; without it the close keys do nothing for the item.
  std::function<void(TMenuItem&, CloseRequest)> OnCloseKey;

  UINT Command() const { return command_; }

 private:
  friend class TPopupMenu;
  UINT command_ = 0;
};

}  // namespace ui
