#include "ui/PopupMenu.h"

#include "base/Error.h"
#include "base/ScopeExit.h"
#include "ui/DarkMenuScope.h"
#include "ui/MenuItemDrawing.h"
#include "ui/OpenMenu.h"
#include "ui/WorkArea.h"

#include <utility>

namespace ui {
namespace {

// How long the open menu may spend on pending images at a time before it reads input again.
constexpr DWORD kImageSliceMs = 8;

}  // namespace

// Hidden, of zero size, never in the task bar; it measures and draws the items in real pixels.
void TPopupMenu::CreateOwner() {
  if (owner_) return;
  const PerMonitorDpiScope perMonitor;
  BoundWindow<TPopupMenu>::Create(*this, {kOwnerClass, "", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0});
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
  static UINT lastCommand = 0;
  auto& item = *items_.emplace_back(std::make_unique<TMenuItem>());
  item.command_ = lastCommand = lastCommand % 0xFFFE + 1;  // WM_COMMAND carries 16 bits; 0 means no item
  return item;
}

// The owner moves to the point, so that its DPI is the one of the monitor the menu opens on.
int TPopupMenu::IconSizeAt(int x, int y) {
  CreateOwner();
  const PerMonitorDpiScope perMonitor;  // (x, y) and the work area in real pixels
  ::SetWindowPos(owner_.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  layout_ = std::make_unique<MenuLayout>(DpiOfWindow(owner_.get()), WorkAreaNear({x, y}));
  return layout_->Metrics().iconSize;
}

// Per monitor until the menu window exists, then the host's own awareness again for whatever of
// its code the menu's loop runs.
void TPopupMenu::Popup(int x, int y) {
  if (cancelled_ || tracking_) return;
  if (!layout_) (void)IconSizeAt(x, y);
  const base::ScopeExit dropLayout([this] { layout_.reset(); });
  base::unique_hmenu menu(::CreatePopupMenu());
  if (!menu) throw base::Error("cannot create a popup menu");
  PerMonitorDpiScope perMonitor;
  std::vector<const ItemText*> texts;
  texts.reserve(items_.size());
  for (const auto& item : items_) texts.push_back(&item->Text);
  layout_->LayOut(texts);
  const bool closeKeys = AppendItems(menu.get());
  Track(menu.get(), x, y, perMonitor,
        [this, closeKeys](const MSG& key) { return (closeKeys && CloseKey(key)) || TakeKey(key); });
}

void TPopupMenu::Track(HMENU menu, int x, int y, PerMonitorDpiScope& perMonitor, MenuLoopFilter::KeyHandler onKey) {
  const MenuLook look = ChooseLook(themeSetting_, ReadSystemAppearance());
  if (look == MenuLook::kLight) (void)uxTheme_.Load();
  const MenuPainter painter(look, owner_.get(), uxTheme_);
  painter.UseBackground(menu);
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
  nextPending_ = 0;
  tracking_ = true;
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner_.get(), nullptr);
  tracking_ = false;
  openMenu_ = nullptr;
  painter_ = nullptr;
  highlightOnOpen_ = -1;
}

// Each item's data starts with its name for screen readers; its text is not given to the native
// item as well, where its '&' would choose the item past WM_MENUCHAR. Columns rather than scroll
// arrows when the items are taller than the work area.
bool TPopupMenu::AppendItems(HMENU menu) {
  const size_t rowsPerColumn = static_cast<size_t>(layout_->RowsPerColumn());
  bool closeKeys = false;
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = *items_[i];
    const bool newColumn = i > 0 && i % rowsPerColumn == 0;
    const UINT flags = MF_OWNERDRAW | (item.Enabled ? 0 : MF_GRAYED) | (newColumn ? MF_MENUBARBREAK : 0);
    ::AppendMenuA(menu, flags, item.command_, reinterpret_cast<LPCSTR>(&layout_->Data(i)));
    closeKeys = closeKeys || item.OnCloseKey;
  }
  return closeKeys;
}

void TPopupMenu::DisableItem(TMenuItem& item) {
  item.Enabled = false;
  if (!openMenu_) return;
  ::EnableMenuItem(openMenu_, item.command_, MF_BYCOMMAND | MF_GRAYED);
  if (const HWND shown = MenuWindowOf(openMenu_)) ::InvalidateRect(shown, nullptr, TRUE);
}

void TPopupMenu::SetItemImage(TMenuItem& item, int image) {
  item.ImageIndex = image;
  if (openMenu_) RedrawItems(openMenu_, {IndexOf(item)});
}

int TPopupMenu::HighlightedPosition() const { return openMenu_ ? HighlightedItem(openMenu_) : -1; }

void TPopupMenu::Cancel() {
  cancelled_ = true;
  // A menu that is still being opened does not take EndMenu yet; it is ended once it waits for
  // input (WM_ENTERIDLE).
  if (tracking_) ::EndMenu();
}

LRESULT TPopupMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
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
      return ::DefWindowProcA(owner_.get(), msg, wParam, lParam);
  }
}

// The menu waits for input: it is on the screen now, ready to be ended, to take a highlight, and
// to make the images it did not draw yet.
void TPopupMenu::EnterIdle(WPARAM source, LPARAM window) {
  if (cancelled_) {
    ::EndMenu();
    return;
  }
  if (source != MSGF_MENU || !openMenu_) return;
  if (highlightOnOpen_ >= 0) {
    HighlightItem(reinterpret_cast<HWND>(window), openMenu_, std::exchange(highlightOnOpen_, -1));
  }
  ResolveSomeImages();
}

// The menu's loop sends WM_ENTERIDLE again only after a message: a posted one brings the next slice
// once the input that came meanwhile is handled.
void TPopupMenu::ResolveSomeImages() {
  const DWORD start = ::GetTickCount();
  while (nextPending_ < items_.size()) {
    if (::GetTickCount() - start >= kImageSliceMs) {
      ::PostMessageA(owner_.get(), WM_NULL, 0, 0);
      return;
    }
    ResolveImage(nextPending_++);
  }
}

void TPopupMenu::ResolveImage(size_t position) {
  TMenuItem& item = *items_[position];
  if (item.ImageIndex == TMenuItem::kImagePending) item.ImageIndex = PendingImage(static_cast<int>(position));
}

bool TPopupMenu::CloseKey(const MSG& key) {
  if (key.message != WM_KEYDOWN || key.wParam != VK_DELETE || !openMenu_) return false;
  const int position = HighlightedItem(openMenu_);
  if (position < 0 || position >= ItemCount()) return true;
  TMenuItem& item = *items_[static_cast<size_t>(position)];
  if (!item.Enabled || !item.OnCloseKey) return true;
  item.OnCloseKey(item, ::GetKeyState(VK_SHIFT) < 0 ? CloseRequest::kMinimize : CloseRequest::kClose);
  return true;
}

// Only while the layout that the native items point into lives.
void TPopupMenu::MeasureItem(MEASUREITEMSTRUCT& measure) const {
  const int position = layout_ ? layout_->PositionOfData(measure.itemData) : -1;
  if (position < 0) return;
  const SIZE size = layout_->ItemSize(static_cast<size_t>(position));
  measure.itemWidth = static_cast<UINT>(size.cx);
  measure.itemHeight = static_cast<UINT>(size.cy);
}

void TPopupMenu::DrawItem(const DRAWITEMSTRUCT& draw) {
  const int position = layout_ ? layout_->PositionOfData(draw.itemData) : -1;
  if (position < 0 || position >= ItemCount() || !painter_ || !::RectVisible(draw.hDC, &draw.rcItem)) return;
  ResolveImage(static_cast<size_t>(position));
  DrawMenuItem(draw, *items_[static_cast<size_t>(position)], *layout_, static_cast<size_t>(position), *painter_,
               images_);
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
