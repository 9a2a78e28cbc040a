#include "ui/MenuTheme.h"

#include <vsstyle.h>
#include <vssym32.h>

namespace ui {
namespace {

constexpr char kPersonalizeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
// Windows 11's dark menus.
constexpr COLORREF kDarkBackground = RGB(0x2B, 0x2B, 0x2B);
constexpr COLORREF kDarkHot = RGB(0x41, 0x41, 0x41);
constexpr COLORREF kDarkText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kDarkGreyText = RGB(0x7A, 0x7A, 0x7A);

bool AppsUseLightTheme() {
  DWORD value = 1;
  DWORD size = sizeof(value);
  // Absent before Windows 10 1809 (and under Wine): light, as it always was.
  if (::RegGetValueA(HKEY_CURRENT_USER, kPersonalizeKey, "AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
    return true;
  }
  return value != 0;
}

bool HighContrastOn() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof(contrast);
  return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The colour brush of the context: no GDI object of ours per item.
void FillWith(HDC dc, const RECT& area, COLORREF colour) {
  ::SetDCBrushColor(dc, colour);
  ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

int ItemState(bool selected, bool grey) {
  if (grey) return selected ? MPI_DISABLEDHOT : MPI_DISABLED;
  return selected ? MPI_HOT : MPI_NORMAL;
}

}  // namespace

MenuLook ChooseLook(int themeSetting, const SystemAppearance& system) {
  if (system.highContrast) return MenuLook::kHighContrast;
  switch (themeSetting) {
    case kThemeLight:
      return MenuLook::kLight;
    case kThemeDark:
      return MenuLook::kDark;
    case kThemeClassic:
      return MenuLook::kClassic;
    default:
      return system.appsUseLightTheme ? MenuLook::kLight : MenuLook::kDark;
  }
}

SystemAppearance ReadSystemAppearance() { return {AppsUseLightTheme(), HighContrastOn()}; }

MenuPainter::MenuPainter(MenuLook look, HWND owner, const UxTheme& uxTheme) : look_(look), uxTheme_(uxTheme) {
  if (look_ == MenuLook::kDark) background_.reset(::CreateSolidBrush(kDarkBackground));
  if (look_ != MenuLook::kLight) return;
  if (uxTheme_.open) theme_ = uxTheme_.open(owner, L"MENU");
  if (!theme_) {
    look_ = MenuLook::kClassic;  // themes are off
  } else if (FAILED(uxTheme_.color(theme_, MENU_POPUPBACKGROUND, 0, TMT_FILLCOLOR, &lightBackground_))) {
    lightBackground_ = ::GetSysColor(COLOR_MENU);
  }
}

MenuPainter::~MenuPainter() {
  if (theme_) uxTheme_.close(theme_);
}

void MenuPainter::FillItem(HDC dc, const RECT& item, bool selected, bool grey) const {
  switch (look_) {
    case MenuLook::kLight:
      // The theme's items are see-through but for the highlight; its parts are drawn only there,
      // as they take their time on some systems.
      FillWith(dc, item, lightBackground_);
      if (selected) uxTheme_.drawBackground(theme_, dc, MENU_POPUPITEM, ItemState(selected, grey), &item, nullptr);
      return;
    case MenuLook::kDark:
      return FillWith(dc, item, selected ? kDarkHot : kDarkBackground);
    case MenuLook::kHighContrast:
      ::FillRect(dc, &item, ::GetSysColorBrush(selected ? COLOR_MENUHILIGHT : COLOR_MENU));
      if (selected) ::FrameRect(dc, &item, ::GetSysColorBrush(COLOR_HIGHLIGHT));
      return;
    case MenuLook::kClassic:
      ::FillRect(dc, &item, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
      return;
  }
}

COLORREF MenuPainter::TextColor(bool selected, bool grey) const {
  if (look_ == MenuLook::kDark) return grey ? kDarkGreyText : kDarkText;
  COLORREF themed = 0;
  if (look_ == MenuLook::kLight &&
      SUCCEEDED(uxTheme_.color(theme_, MENU_POPUPITEM, ItemState(selected, grey), TMT_TEXTCOLOR, &themed))) {
    return themed;
  }
  return ::GetSysColor(grey ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

COLORREF MenuPainter::BackgroundColor() const {
  if (look_ == MenuLook::kLight) return lightBackground_;
  return look_ == MenuLook::kDark ? kDarkBackground : ::GetSysColor(COLOR_MENU);
}

void MenuPainter::UseBackground(HMENU menu) const {
  if (!background_) return;
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = background_.get();
  ::SetMenuInfo(menu, &info);
}

}  // namespace ui
