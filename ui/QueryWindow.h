// A small window beside an open menu that shows what the user is typing to find an item: in the
// menu's font and colours, never activated, never moving the menu. It goes with its object.
#pragma once

#include "base/Handle.h"
#include "ui/BoundWindow.h"

#include <windows.h>

#include <string>

namespace ui {

// What the window looks like: the menu's font (copied) and colours, its margin in pixels.
struct QueryLook {
  HFONT font;
  COLORREF background;
  COLORREF text;
  int margin;
};

class QueryWindow {
 public:
  explicit QueryWindow(const QueryLook& look);
  QueryWindow(const QueryWindow&) = delete;
  QueryWindow& operator=(const QueryWindow&) = delete;
  ~QueryWindow() { BoundWindow<QueryWindow>::Destroy(*this, kClass); }

  // Shows `text` below the menu window, or above it where the work area ends below; creates the
  // window at the first call. Throws base::Error when it cannot be created.
  void Show(const std::wstring& text, HWND menuWindow);

 private:
  friend class BoundWindow<QueryWindow>;
  static constexpr char kClass[] = "SwivoQueryWindow";

  base::unique_hwnd& BoundHandle() { return wnd_; }
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void WMPaint();
  SIZE TextSize() const;

  base::unique_hfont font_;
  COLORREF background_;
  COLORREF textColour_;
  int margin_;
  std::wstring text_;
  base::unique_hwnd wnd_;
};

}  // namespace ui
