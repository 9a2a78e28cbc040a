// A popup menu over the platform's menus: an ordered list of owner-drawn items (caption, image,
// click action), an image list, and a hidden owner window of its own that draws the items,
// answers typed keys and receives the chosen item's command after the menu has closed.
#pragma once

#include "base/Handle.h"
#include "ui/BoundWindow.h"
#include "ui/DpiContext.h"
#include "ui/MenuItem.h"
#include "ui/MenuLayout.h"
#include "ui/MenuLoopFilter.h"
#include "ui/MenuTheme.h"
#include "ui/UxTheme.h"

#include <memory>
#include <vector>

namespace ui {

class TPopupMenu {
 public:
  TPopupMenu() = default;
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;
  virtual ~TPopupMenu() { DestroyOwner(); }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  TMenuItem& Items(int index) const;
  // Position of the item in the menu; -1 when it is not one of ours.
  int IndexOf(const TMenuItem& item) const;
  TMenuItem& AddItem();
  void ClearItems() { items_.clear(); }

  HIMAGELIST Images() const { return images_; }
  // Borrowed: the list outlives the menu's popups.
  void SetImages(HIMAGELIST images) { images_ = images; }

  // Creates the owner window if it does not exist; throws base::Error when it cannot (try later).
  void CreateOwner();

  // Begins the next opening at (x, y) in the sizes of that monitor's DPI and work area; returns the
  // images' size. Throws base::Error when the owner window or a measuring context cannot be made.
  int IconSizeAt(int x, int y);

  // The item highlighted when the menu next opens, as if the arrow keys had moved there; -1 for
  // none. Each opening takes it once.
  void HighlightOnOpen(int position) { highlightOnOpen_ = position; }
  // Greys the item, also in the open menu, and stops it from being chosen.
  void DisableItem(TMenuItem& item);
  // Gives the item another image, also in the open menu.
  void SetItemImage(TMenuItem& item, int image);
  // While the menu is open: the native menu, its sizes and how it paints; else null.
  HMENU OpenMenu() const { return openMenu_; }
  const MenuLayout* OpenLayout() const { return openMenu_ ? layout_.get() : nullptr; }
  const MenuPainter* OpenPainter() const { return painter_; }

  // Tracks the menu at (x, y) until an item is chosen (its action runs when the thread next
  // dispatches its messages) or the menu is dismissed; nothing once cancelled or while open. Items
  // are at most kMaxItemWidthPercent of the work area's width; those below its height go on in
  // further columns.
  virtual void Popup(int x, int y);

  // Closes the menu, also one still opening, and keeps it from opening again: its owner goes.
  virtual void Cancel();
  bool Cancelled() const { return cancelled_; }

  HWND OwnerWindow() const { return owner_.get(); }

  // One of the ThemeSetting values; read at every popup, with Windows' own settings.
  void SetTheme(int value) { themeSetting_ = value; }
  int Theme() const { return themeSetting_; }

 protected:
  // Detaches and destroys the owner window; first in a derived menu's destructor, so that no
  // message reaches a menu whose members are gone.
  void DestroyOwner() { BoundWindow<TPopupMenu>::Destroy(*this, kOwnerClass); }
  // Handles a message of the owner window; a derived menu takes its own (one in the WM_APP range
  // that it posts there, say) and leaves the others to this one.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The image of the item at `position`, which has kImagePending: asked once, right before the
  // item is first drawn or while the open menu waits for input; -1 for none.
  virtual int PendingImage(int /*position*/) { return -1; }
  // A key the open menu is about to read (see MenuLoopFilter), after the close keys; returns
  // whether it took it.
  virtual bool TakeKey(const MSG& /*key*/) { return false; }
  // The highlighted item's position in the open menu, or -1.
  int HighlightedPosition() const;

 private:
  friend class BoundWindow<TPopupMenu>;
  static constexpr char kOwnerClass[] = "SwivoPopupMenuOwner";

  base::unique_hwnd& BoundHandle() { return owner_; }
  void Track(HMENU menu, int x, int y, PerMonitorDpiScope& perMonitor, MenuLoopFilter::KeyHandler onKey);
  // Gives the native menu its items; returns whether one of them takes the close keys.
  bool AppendItems(HMENU menu);
  void MeasureItem(MEASUREITEMSTRUCT& measure) const;
  void DrawItem(const DRAWITEMSTRUCT& draw);
  void ResolveImage(size_t position);  // asks for the item's image if it is still pending
  // The pending images of the items not drawn yet, a few milliseconds' worth at a time.
  void ResolveSomeImages();
  LRESULT MenuChar(char typed, HMENU menu) const;
  void EnterIdle(WPARAM source, LPARAM window);
  // Delete and Shift+Delete on the highlighted item; returns whether the key was one of them.
  bool CloseKey(const MSG& key);
  void Click(UINT command);

  std::vector<std::unique_ptr<TMenuItem>> items_;
  HIMAGELIST images_ = nullptr;
  int themeSetting_ = kDefaultTheme;
  UxTheme uxTheme_;
  // From IconSizeAt until the menu has closed: the native items point into it.
  std::unique_ptr<MenuLayout> layout_;
  const MenuPainter* painter_ = nullptr;  // while the menu is tracked
  base::unique_hwnd owner_;
  HMENU openMenu_ = nullptr;  // the native menu while it is tracked
  int highlightOnOpen_ = -1;
  size_t nextPending_ = 0;  // the first item whose image may still be pending
  bool tracking_ = false;
  bool cancelled_ = false;
};

}  // namespace ui
