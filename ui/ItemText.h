// What a menu item's text is, and how it fits: the window's caption, a mark after it and the
// accelerator suffix. A long caption is cut with an ellipsis; the mark and the suffix never are.
// The same text, whole, is the item's name for screen readers.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>

namespace ui {

struct ItemText {
  std::wstring Caption;  // '&' marks an accelerator, "&&" shows one '&'
  std::wstring Mark;     // drawn in the grey-text colour after the caption; empty for none
  std::wstring Suffix;   // the accelerator suffix, "(&a)"; empty for none
};

// Caption, mark and suffix as one string, '&' marks included.
[[nodiscard]] std::wstring WholeText(const ItemText& text);
// What the item shows, as a screen reader names it: the whole text, the '&' marks taken out as
// drawing takes them ("&&" is one '&').
[[nodiscard]] std::wstring AccessibleText(const ItemText& text);

// Widths of the three parts as drawn, in pixels; the caption's is cut to what fits.
struct ItemTextLayout {
  int naturalCaptionWidth = 0;  // uncut
  int captionWidth = 0;
  int markWidth = 0;
  int suffixWidth = 0;
  int height = 0;

  int Width() const { return captionWidth + markWidth + suffixWidth; }
};

// The layout of the text in the font selected into `dc`, at most `maxWidth` wide unless the mark
// and the suffix alone are wider.
[[nodiscard]] ItemTextLayout LayOutItemText(HDC dc, const ItemText& text, int maxWidth);
// Draws the text left-aligned and centred vertically in `area`, in the colour selected into `dc`;
// the mark in `markColour`. `format` adds DrawText flags (DT_HIDEPREFIX, say).
void DrawItemText(HDC dc, const ItemText& text, const ItemTextLayout& layout, const RECT& area, COLORREF markColour,
                  UINT format);

// The data of a native owner-drawn item: it starts with the name that the system's menu
// accessibility gives screen readers. Stays where it is while the native item exists.
struct AccessibleItemData {
  MSAAMENUINFO info{MSAA_MENU_SIG, 0, nullptr};
  std::wstring name;
  ItemTextLayout layout;  // as measured when the menu opened; drawing takes it as it is

  void SetName(std::wstring text);
};

}  // namespace ui
