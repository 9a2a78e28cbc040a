#include "ui/QueryWindow.h"

#include "ui/DpiContext.h"
#include "ui/WorkArea.h"

#include <algorithm>

namespace ui {
namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;

base::unique_hfont CopyOfFont(HFONT font) {
  LOGFONTW description{};
  if (!font || !::GetObjectW(font, sizeof(description), &description)) return {};
  return base::unique_hfont(::CreateFontIndirectW(&description));
}

// Below the menu while that fits the work area, else above it; never off the work area's sides.
POINT PlaceBeside(const RECT& menu, SIZE size) {
  const RECT work = WorkAreaNear({menu.left, menu.top});
  const LONG left = std::max(work.left, std::min(menu.left, work.right - size.cx));
  const bool below = menu.bottom + size.cy <= work.bottom;
  return {left, below ? menu.bottom : std::max(work.top, menu.top - size.cy)};
}

}  // namespace

QueryWindow::QueryWindow(const QueryLook& look)
    : font_(CopyOfFont(look.font)),
      background_(look.background),
      textColour_(look.text),
      margin_(look.margin) {}

// Created and placed per monitor, like the menu: its rectangle and the font are in real pixels.
void QueryWindow::Show(const std::wstring& text, HWND menuWindow) {
  text_ = text;
  const PerMonitorDpiScope perMonitor;
  if (!wnd_) {
    BoundWindow<QueryWindow>::Create(
        *this, {kClass, "", WS_POPUP | WS_BORDER, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0});
  }
  RECT menu{};
  ::GetWindowRect(menuWindow, &menu);
  const SIZE textSize = TextSize();
  const int border = ::GetSystemMetrics(SM_CYBORDER);
  const SIZE size{std::max(menu.right - menu.left, textSize.cx + 2 * (margin_ + border)),
                  textSize.cy + 2 * (margin_ + border)};
  const POINT at = PlaceBeside(menu, size);
  ::SetWindowTextW(wnd_.get(), text_.c_str());  // what a screen reader reads
  ::SetWindowPos(wnd_.get(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::InvalidateRect(wnd_.get(), nullptr, TRUE);
}

SIZE QueryWindow::TextSize() const {
  const base::unique_hdc dc(::CreateCompatibleDC(nullptr));
  RECT rect{};
  if (dc) {
    base::ScopedSelect font(dc.get(), font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &rect, kTextFormat | DT_CALCRECT);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LRESULT QueryWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      WMPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;  // painted whole in WM_PAINT
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return ::DefWindowProcA(wnd_.get(), msg, wParam, lParam);
  }
}

void QueryWindow::WMPaint() {
  PAINTSTRUCT paint{};
  const HDC dc = ::BeginPaint(wnd_.get(), &paint);
  if (!dc) return;
  RECT area{};
  ::GetClientRect(wnd_.get(), &area);
  ::SetDCBrushColor(dc, background_);
  ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::InflateRect(&area, -margin_, 0);
  base::ScopedSelect font(dc, font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColour_);
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &area, kTextFormat);
  ::EndPaint(wnd_.get(), &paint);
}

}  // namespace ui
