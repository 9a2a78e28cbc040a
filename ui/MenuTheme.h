// How the menu's items look: as the system's own light or dark menus, in high contrast's system
// colours, or in the classic colours. Chosen at every popup from the setting Theme and from
// Windows' app mode and high-contrast switch.
#pragma once

#include "base/Handle.h"
#include "ui/ThemeSetting.h"
#include "ui/UxTheme.h"

#include <windows.h>

namespace ui {

enum class MenuLook { kClassic, kLight, kDark, kHighContrast };

struct SystemAppearance {
  bool appsUseLightTheme = true;
  bool highContrast = false;
};

// High contrast wins over every setting: its colours are the user's, and never dark.
[[nodiscard]] MenuLook ChooseLook(int themeSetting, const SystemAppearance& system);
[[nodiscard]] SystemAppearance ReadSystemAppearance();

// Paints the items of one popup in one look. The light look draws with the theme's menu parts and
// falls back to the classic colours where themes are off.
class MenuPainter {
 public:
  MenuPainter(MenuLook look, HWND owner, const UxTheme& uxTheme);
  MenuPainter(const MenuPainter&) = delete;
  MenuPainter& operator=(const MenuPainter&) = delete;
  ~MenuPainter();

  MenuLook Look() const { return look_; }
  // The brush of the menu's own background (MIM_BACKGROUND); null for the system's.
  HBRUSH Background() const { return background_.get(); }
  // Gives the menu that background; the system's stays where there is none.
  void UseBackground(HMENU menu) const;
  void FillItem(HDC dc, const RECT& item, bool selected, bool grey) const;
  COLORREF TextColor(bool selected, bool grey) const;
  // Behind an item that is not highlighted.
  COLORREF BackgroundColor() const;

 private:
  MenuLook look_;
  const UxTheme& uxTheme_;
  HTHEME theme_ = nullptr;
  COLORREF lightBackground_ = 0;  // the theme's menu background
  base::unique_hbrush background_;
};

}  // namespace ui
