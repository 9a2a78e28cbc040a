// A popup menu over the platform's menus: an ordered list of owner-drawn items (caption, image,
// click action), an image list, and a hidden owner window of its own that draws the items,
// answers typed keys and receives the chosen item's command after the menu has closed.
#pragma once

#include "base/Handle.h"
#include "ui/ItemText.h"
#include "ui/MenuChar.h"
#include "ui/MenuMetrics.h"
#include "ui/MenuTheme.h"
#include "ui/UxTheme.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class TPopupMenu;

// What the keys that close a highlighted item ask for: Delete, and Shift+Delete.
enum class CloseRequest { kClose, kMinimize };

// The widest an item may be, in percent of the width of the work area the menu opens in.
constexpr int kMaxItemWidthPercent = 45;

class TMenuItem {
 public:
  ItemText Text;         // what is shown, and what screen readers name the item by
  MenuKey Key;           // what typed keys choose the item by
  int ImageIndex = -1;  // position in the menu's image list; -1 for none
  bool Enabled = true;  // a disabled item is drawn grey, and choosing it does nothing
  std::function<void(TMenuItem&)> OnClick;
  // Runs while the menu stays open; without it the close keys do nothing for the item.
  std::function<void(TMenuItem&, CloseRequest)> OnCloseKey;

  UINT Command() const { return command_; }

 private:
  friend class TPopupMenu;
  UINT command_ = 0;
};

class TPopupMenu {
 public:
  TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;
  virtual ~TPopupMenu();

  int ItemCount() const { return static_cast<int>(items_.size()); }
  TMenuItem& Items(int index) const;
  // Position of the item in the menu; -1 when it is not one of ours.
  int IndexOf(const TMenuItem& item) const;
  TMenuItem& AddItem();
  void ClearItems();

  HIMAGELIST Images() const { return images_; }
  // Borrowed: the list outlives the menu's popups.
  void SetImages(HIMAGELIST images) { images_ = images; }

  // Creates what the menu needs from the platform and does not have yet: the context that
  // measures the items and the owner window. Throws base::Error when one cannot be made; a later
  // call tries again.
  void CreateOwner();

  // Takes the sizes of the DPI of the monitor at (x, y), where the menu is about to open, and
  // returns the size its images should have. Throws base::Error as CreateOwner does.
  int IconSizeAt(int x, int y);

  // The item highlighted when the menu next opens, as if the arrow keys had moved there; -1 for
  // none. Each opening takes it once.
  void HighlightOnOpen(int position) { highlightOnOpen_ = position; }
  // Greys the item, also in the open menu, and stops it from being chosen.
  void DisableItem(TMenuItem& item);
  // Gives the item another image, also in the open menu.
  void SetItemImage(TMenuItem& item, int image);

  // Tracks the menu with its top-left corner at (x, y) until an item is chosen or the menu is
  // dismissed. The chosen item's action runs later, when the thread dispatches its messages.
  // Does nothing once the menu is cancelled, or while it is open. Sized for the work area of the
  // monitor at (x, y): an item is at most kMaxItemWidthPercent of its width, and items that do not
  // fit its height go on in further columns.
  virtual void Popup(int x, int y);

  // Closes the menu if it is open, also when it is still being opened, and keeps it from
  // opening again: its owner is going away.
  void Cancel();

  HWND OwnerWindow() const { return owner_.get(); }

  // One of the ThemeSetting values; read at every popup, with Windows' own settings.
  void SetTheme(int value) { themeSetting_ = value; }
  int Theme() const { return themeSetting_; }

 protected:
  // Detaches the owner window and destroys it. A derived menu calls it first in its destructor:
  // no message of the owner may reach a menu whose own members are already gone.
  void DestroyOwner();
  // A message of the owner window that the menu itself does not take (one in the WM_APP range
  // that a derived menu posts to it, say); returns whether it was taken.
  virtual bool OwnerMessage(UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

 private:
  static LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleOwnerMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HFONT ItemFont() const;
  void UseMetrics(const MenuMetrics& metrics);
  void Track(HMENU menu, int x, int y);
  static void UseBackground(HMENU menu, HBRUSH background);
  void LayOutItems();
  // Gives the native menu its items; returns whether one of them takes the close keys.
  bool AppendItems(HMENU menu, int rowsPerColumn);
  int RowsPerColumn(const RECT& workArea) const;
  // The position of the item whose native item has this data, or -1.
  int PositionOfData(ULONG_PTR data) const;
  SIZE ItemSize(const ItemTextLayout& text) const;
  // The width of an item on the screen.
  int ShownWidth(const ItemTextLayout& text) const;
  void MeasureItem(MEASUREITEMSTRUCT& measure) const;
  void DrawItem(const DRAWITEMSTRUCT& draw) const;
  LRESULT MenuChar(char typed, HMENU menu) const;
  void EnterIdle(WPARAM source, LPARAM window);
  // Delete and Shift+Delete on the highlighted item; returns whether the key was one of them.
  bool CloseKey(WPARAM virtualKey);
  void Click(UINT command);

  std::vector<std::unique_ptr<TMenuItem>> items_;
  // The native items' data of the last menu shown, by position; never resized while it is shown.
  std::vector<AccessibleItemData> itemData_;
  int maxTextWidth_ = 0;  // an item's text is cut to this width
  // Read once per popup: the platform takes its time to answer, and there may be thousands of items.
  int checkMarkWidth_ = 0;
  HIMAGELIST images_ = nullptr;
  MenuMetrics metrics_;
  int themeSetting_ = kDefaultTheme;
  UxTheme uxTheme_;
  const MenuPainter* painter_ = nullptr;  // while the menu is tracked
  base::unique_hfont font_;
  // Every item is measured each time the menu opens: one context with the font selected serves
  // them all.
  base::unique_hdc measureDc_;
  base::unique_hwnd owner_;
  HMENU openMenu_ = nullptr;  // the native menu while it is tracked
  int highlightOnOpen_ = -1;
  bool tracking_ = false;
  bool cancelled_ = false;
};

}  // namespace ui
