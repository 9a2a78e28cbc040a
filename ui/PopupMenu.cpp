#include "ui/PopupMenu.h"

#include "base/Error.h"
#include "base/Module.h"
#include "ui/DarkMenuScope.h"
#include "ui/DispatchScope.h"
#include "ui/ErrorBox.h"
#include "ui/MenuChar.h"
#include "ui/OpenMenu.h"
#include "ui/WindowClass.h"
#include "ui/WorkArea.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace ui {
namespace {

constexpr char kOwnerClass[] = "SwivoPopupMenuOwner";
// What the menu window's border and padding add to the items' height, generous for every style.
constexpr int kMenuFrameHeight = 16;

UINT NextCommand() {
  static UINT counter = 0;
  counter = counter % 0xFFFE + 1;  // WM_COMMAND carries 16 bits; 0 means no item
  return counter;
}

}  // namespace

TPopupMenu::TPopupMenu() : font_(CreateMenuFont(kDefaultDpi)) {}

// Out of GDI objects, the menu font cannot be made: the items are then measured and drawn in the
// stock interface font, which needs no object of ours, rather than in whatever a context holds.
HFONT TPopupMenu::ItemFont() const {
  return font_ ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

TPopupMenu::~TPopupMenu() {
  DestroyOwner();
  measureDc_.reset();  // before the font selected into it
}

void TPopupMenu::DestroyOwner() {
  DestroyBoundWindow(owner_);
  UnregisterWindowClass(kOwnerClass);
}

void TPopupMenu::CreateOwner() {
  if (!measureDc_) {
    measureDc_.reset(::CreateCompatibleDC(nullptr));
    if (!measureDc_) throw base::Error("cannot create a device context to measure the menu's items");
    // Kept selected: the destructor deletes the context before the font.
    ::SelectObject(measureDc_.get(), ItemFont());
  }
  if (!owner_) {
    RegisterWindowClass(kOwnerClass, &OwnerProc);
    const PerMonitorDpiScope perMonitor;  // the items are measured and drawn in real pixels
    // The window becomes ours at its first message (OwnerProc); a failed creation leaves none.
    const HWND created = ::CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                           base::ThisModule(), this);
    if (!created || owner_.get() != created) throw base::Error("cannot create the menu's owner window");
  }
}

TMenuItem& TPopupMenu::Items(int index) const {
  if (index < 0 || index >= ItemCount()) throw base::Error("menu index out of range: " + std::to_string(index));
  return *items_[static_cast<size_t>(index)];
}

int TPopupMenu::IndexOf(const TMenuItem& item) const {
  for (int i = 0; i < ItemCount(); ++i) {
    if (items_[static_cast<size_t>(i)].get() == &item) return i;
  }
  return -1;
}

TMenuItem& TPopupMenu::AddItem() {
  auto& item = *items_.emplace_back(std::make_unique<TMenuItem>());
  item.command_ = NextCommand();
  return item;
}

void TPopupMenu::ClearItems() {
  while (!items_.empty()) items_.pop_back();
}

// The owner moves to the point, so that its DPI is the one of the monitor the menu opens on.
int TPopupMenu::IconSizeAt(int x, int y) {
  CreateOwner();
  const PerMonitorDpiScope perMonitor;  // (x, y) is in real pixels
  ::SetWindowPos(owner_.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const UINT dpi = DpiOfWindow(owner_.get());
  if (dpi != metrics_.dpi) UseMetrics(MenuMetricsAt(dpi));
  return metrics_.iconSize;
}

// Out of GDI objects, the font of the last DPI stays.
void TPopupMenu::UseMetrics(const MenuMetrics& metrics) {
  metrics_ = metrics;
  base::unique_hfont font = CreateMenuFont(metrics.dpi);
  if (!font) return;
  ::SelectObject(measureDc_.get(), font.get());  // before the font it replaces is deleted
  font_ = std::move(font);
}

// The work area and the menu window in real pixels: per monitor until the menu window exists,
// then the host's own awareness again for whatever of its code the menu's loop runs.
void TPopupMenu::Popup(int x, int y) {
  if (cancelled_ || tracking_) return;
  (void)IconSizeAt(x, y);
  base::unique_hmenu menu(::CreatePopupMenu());
  if (!menu) throw base::Error("cannot create a popup menu");
  PerMonitorDpiScope perMonitor;
  const RECT workArea = WorkAreaNear({x, y});
  checkMarkWidth_ = ::GetSystemMetrics(SM_CXMENUCHECK);
  maxTextWidth_ = (workArea.right - workArea.left) * kMaxItemWidthPercent / 100 - ShownWidth({});
  LayOutItems();
  MenuLoopFilter::KeyHandler closeKeys;
  if (AppendItems(menu.get(), RowsPerColumn(workArea))) closeKeys = [this](WPARAM key) { return CloseKey(key); };
  Track(menu.get(), x, y, perMonitor, std::move(closeKeys));
}

void TPopupMenu::Track(HMENU menu, int x, int y, PerMonitorDpiScope& perMonitor, MenuLoopFilter::KeyHandler onKey) {
  const MenuLook look = ChooseLook(themeSetting_, ReadSystemAppearance());
  if (look == MenuLook::kLight) (void)uxTheme_.Load();
  const MenuPainter painter(look, owner_.get(), uxTheme_);
  UseBackground(menu, painter.Background());
  DarkMenuScope darkFrame(painter.Look() == MenuLook::kDark, uxTheme_);
  // The menu window exists once its loop reads messages: what the host's code does from then on
  // sees the host's own awareness and app mode.
  const MenuLoopFilter filter(
      [&] {
        perMonitor.End();
        darkFrame.RestoreMode();
      },
      std::move(onKey));
  painter_ = &painter;
  openMenu_ = menu;
  tracking_ = true;
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner_.get(), nullptr);
  tracking_ = false;
  openMenu_ = nullptr;
  painter_ = nullptr;
  highlightOnOpen_ = -1;
}

void TPopupMenu::UseBackground(HMENU menu, HBRUSH background) {
  if (!background) return;
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = background;
  ::SetMenuInfo(menu, &info);
}

// Each item's data starts with its name for screen readers; its text is not given to the native
// item as well, where its '&' would choose the item past WM_MENUCHAR. Columns rather than scroll
// arrows when the items are taller than the work area.
bool TPopupMenu::AppendItems(HMENU menu, int rowsPerColumn) {
  bool closeKeys = false;
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = *items_[i];
    const bool newColumn = i > 0 && i % static_cast<size_t>(rowsPerColumn) == 0;
    const UINT flags = MF_OWNERDRAW | (item.Enabled ? 0 : MF_GRAYED) | (newColumn ? MF_MENUBARBREAK : 0);
    ::AppendMenuA(menu, flags, item.command_, reinterpret_cast<LPCSTR>(&itemData_[i]));
    closeKeys = closeKeys || item.OnCloseKey;
  }
  return closeKeys;
}

// Each item's name for screen readers and its layout, measured once for the columns and the
// platform's WM_MEASUREITEM alike.
void TPopupMenu::LayOutItems() {
  itemData_ = std::vector<AccessibleItemData>(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    itemData_[i].SetName(AccessibleText(items_[i]->Text));
    itemData_[i].layout = LayOutItemText(measureDc_.get(), items_[i]->Text, maxTextWidth_);
  }
}

// Every item is one line in one font: the first one's height stands for all. Columns only while
// they all fit the work area's width; past that one column, which the platform scrolls, keeps
// every item on the screen (and draws only the rows it shows).
int TPopupMenu::RowsPerColumn(const RECT& workArea) const {
  if (items_.empty()) return 1;
  const LONG itemHeight = std::max<LONG>(1, ItemSize(itemData_.front().layout).cy);
  const int rows = std::max<int>(1, (workArea.bottom - workArea.top - kMenuFrameHeight) / itemHeight);
  if (ItemCount() <= rows) return rows;
  LONG width = 0;
  LONG columnWidth = 0;
  for (size_t i = 0; i < itemData_.size(); ++i) {
    if (i % static_cast<size_t>(rows) == 0) width += std::exchange(columnWidth, 0);
    columnWidth = std::max<LONG>(columnWidth, ShownWidth(itemData_[i].layout));
  }
  return width + columnWidth <= workArea.right - workArea.left ? rows : ItemCount();
}

void TPopupMenu::DisableItem(TMenuItem& item) {
  item.Enabled = false;
  if (!openMenu_) return;
  ::EnableMenuItem(openMenu_, item.command_, MF_BYCOMMAND | MF_GRAYED);
  if (const HWND shown = MenuWindowOf(openMenu_)) ::InvalidateRect(shown, nullptr, TRUE);
}

void TPopupMenu::SetItemImage(TMenuItem& item, int image) {
  item.ImageIndex = image;
  const int position = IndexOf(item);
  const HWND shown = openMenu_ ? MenuWindowOf(openMenu_) : nullptr;
  RECT rect{};
  if (!shown || position < 0 || !::GetMenuItemRect(shown, openMenu_, static_cast<UINT>(position), &rect)) return;
  ::MapWindowPoints(nullptr, shown, reinterpret_cast<POINT*>(&rect), 2);
  ::InvalidateRect(shown, &rect, FALSE);
}

void TPopupMenu::Cancel() {
  cancelled_ = true;
  // A menu that is still being opened does not take EndMenu yet; it is ended once it waits for
  // input (WM_ENTERIDLE).
  if (tracking_) ::EndMenu();
}

LRESULT CALLBACK TPopupMenu::OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DispatchScope dispatching;  // the menu may be retired meanwhile; it goes when this returns
  // Destroyed by someone else, the owner is made anew when the menu next opens.
  if (auto* menu = ObjectOfDestroyedWindow<TPopupMenu>(wnd, msg)) ForgetDestroyedWindow(menu->owner_, wnd);
  auto* menu = BoundObject<TPopupMenu>(wnd, msg, lParam);
  if (!menu) return ::DefWindowProcA(wnd, msg, wParam, lParam);
  OwnOnCreate(menu->owner_, wnd, msg);
  return GuardedHandler([&] { return menu->HandleOwnerMessage(wnd, msg, wParam, lParam); });
}

LRESULT TPopupMenu::HandleOwnerMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MENUCHAR:
      return MenuChar(static_cast<char>(LOBYTE(LOWORD(wParam))), reinterpret_cast<HMENU>(lParam));
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) Click(LOWORD(wParam));
      return 0;
    case WM_ENTERIDLE:
      EnterIdle(wParam, lParam);
      return 0;
    case WM_CLOSE:
      return 0;  // the owner lives as long as the menu; nobody else closes it
    default:
      return OwnerMessage(msg, wParam, lParam) ? 0 : ::DefWindowProcA(wnd, msg, wParam, lParam);
  }
}

// The menu waits for input: it is on the screen now, ready to be ended or to take a highlight.
void TPopupMenu::EnterIdle(WPARAM source, LPARAM window) {
  if (cancelled_) {
    ::EndMenu();
  } else if (source == MSGF_MENU && openMenu_ && highlightOnOpen_ >= 0) {
    HighlightItem(reinterpret_cast<HWND>(window), openMenu_, std::exchange(highlightOnOpen_, -1));
  }
}

bool TPopupMenu::CloseKey(WPARAM virtualKey) {
  if (virtualKey != VK_DELETE || !openMenu_) return false;
  const int position = HighlightedItem(openMenu_);
  if (position < 0 || position >= ItemCount()) return true;
  TMenuItem& item = *items_[static_cast<size_t>(position)];
  if (!item.Enabled || !item.OnCloseKey) return true;
  item.OnCloseKey(item, ::GetKeyState(VK_SHIFT) < 0 ? CloseRequest::kMinimize : CloseRequest::kClose);
  return true;
}

int TPopupMenu::PositionOfData(ULONG_PTR data) const {
  const auto first = reinterpret_cast<uintptr_t>(itemData_.data());
  if (data < first || (data - first) % sizeof(AccessibleItemData) != 0) return -1;
  const size_t position = (data - first) / sizeof(AccessibleItemData);
  return position < itemData_.size() && position < items_.size() ? static_cast<int>(position) : -1;
}

SIZE TPopupMenu::ItemSize(const ItemTextLayout& text) const {
  const MenuMetrics& m = metrics_;
  return {m.margin + m.iconSize + m.textGap + text.Width() + m.margin, std::max(m.iconSize, text.height) + 2 * m.margin};
}

// The platform widens each owner-drawn item by its check-mark column.
int TPopupMenu::ShownWidth(const ItemTextLayout& text) const { return ItemSize(text).cx + checkMarkWidth_; }

void TPopupMenu::MeasureItem(MEASUREITEMSTRUCT& measure) const {
  const int position = PositionOfData(measure.itemData);
  if (position < 0) return;
  const SIZE size = ItemSize(itemData_[static_cast<size_t>(position)].layout);
  measure.itemWidth = static_cast<UINT>(size.cx);
  measure.itemHeight = static_cast<UINT>(size.cy);
}

void TPopupMenu::DrawItem(const DRAWITEMSTRUCT& draw) const {
  const int position = PositionOfData(draw.itemData);
  if (position < 0 || !painter_ || !::RectVisible(draw.hDC, &draw.rcItem)) return;
  const TMenuItem& item = *items_[static_cast<size_t>(position)];
  const bool selected = draw.itemState & ODS_SELECTED;
  const bool grey = draw.itemState & (ODS_GRAYED | ODS_DISABLED);
  painter_->FillItem(draw.hDC, draw.rcItem, selected, grey);
  const MenuMetrics& m = metrics_;
  const int top = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - m.iconSize) / 2;
  if (images_ && item.ImageIndex >= 0) {
    ::ImageList_Draw(images_, item.ImageIndex, draw.hDC, draw.rcItem.left + m.margin, top,
                     ILD_TRANSPARENT | (grey ? ILD_BLEND50 : 0));
  }
  RECT text = draw.rcItem;
  text.left += m.margin + m.iconSize + m.textGap;
  base::ScopedSelect font(draw.hDC, ItemFont());
  ::SetBkMode(draw.hDC, TRANSPARENT);
  ::SetTextColor(draw.hDC, painter_->TextColor(selected, grey));
  // DrawText underlines the accelerator and hides its '&'; "&&" shows one '&'. Until the user
  // reaches for the keyboard, the system's menus hide the underline (ODS_NOACCEL).
  const UINT prefix = (draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
  const ItemTextLayout& layout = itemData_[static_cast<size_t>(position)].layout;
  DrawItemText(draw.hDC, item.Text, layout, text, painter_->TextColor(false, true), prefix);
}

LRESULT TPopupMenu::MenuChar(char typed, HMENU menu) const {
  std::vector<MenuKey> keys;
  keys.reserve(items_.size());
  for (const auto& item : items_) keys.push_back(item->Key);
  return AnswerMenuChar(typed, keys, HighlightedItem(menu));
}

void TPopupMenu::Click(UINT command) {
  for (const auto& item : items_) {
    if (item->command_ == command && item->Enabled && item->OnClick) {
      item->OnClick(*item);
      return;
    }
  }
}

}  // namespace ui
