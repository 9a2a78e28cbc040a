#include "ui/ItemText.h"

#include <algorithm>
#include <utility>

namespace ui {
namespace {

constexpr UINT kLineFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT;

SIZE TextSize(HDC dc, const std::wstring& text) {
  if (text.empty()) return {};
  RECT rect{};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kLineFormat | DT_CALCRECT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Draws one part from `left` and returns where the next one starts.
int DrawPart(HDC dc, const std::wstring& text, int left, int width, const RECT& area, UINT extraFormat) {
  if (text.empty() || width <= 0) return left;
  RECT rect{left, area.top, left + width, area.bottom};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kLineFormat | extraFormat);
  return left + width;
}

}  // namespace

std::wstring WholeText(const ItemText& text) { return text.Caption + text.Mark + text.Suffix; }

std::wstring AccessibleText(const ItemText& text) {
  const std::wstring whole = WholeText(text);
  std::wstring shown;
  shown.reserve(whole.size());
  for (size_t i = 0; i < whole.size(); ++i) {
    if (whole[i] == L'&' && ++i == whole.size()) break;
    shown += whole[i];
  }
  return shown;
}

ItemTextLayout LayOutItemText(HDC dc, const ItemText& text, int maxWidth) {
  const SIZE caption = TextSize(dc, text.Caption);
  const SIZE mark = TextSize(dc, text.Mark);
  const SIZE suffix = TextSize(dc, text.Suffix);
  ItemTextLayout layout;
  layout.markWidth = static_cast<int>(mark.cx);
  layout.suffixWidth = static_cast<int>(suffix.cx);
  layout.naturalCaptionWidth = static_cast<int>(caption.cx);
  layout.captionWidth = std::clamp(maxWidth - layout.markWidth - layout.suffixWidth, 0, static_cast<int>(caption.cx));
  layout.height = static_cast<int>(std::max({caption.cy, mark.cy, suffix.cy}));
  return layout;
}

// Text that is neither cut nor marked is drawn in one go, as it always was.
void DrawItemText(HDC dc, const ItemText& text, const ItemTextLayout& layout, const RECT& area, COLORREF markColour,
                  UINT format) {
  if (text.Mark.empty() && layout.captionWidth > 0 && layout.captionWidth == layout.naturalCaptionWidth) {
    DrawPart(dc, text.Caption + text.Suffix, area.left, area.right - area.left, area, format);
    return;
  }
  int left = DrawPart(dc, text.Caption, area.left, layout.captionWidth, area, DT_END_ELLIPSIS | format);
  const COLORREF textColour = ::SetTextColor(dc, markColour);
  left = DrawPart(dc, text.Mark, left, layout.markWidth, area, format);
  ::SetTextColor(dc, textColour);
  DrawPart(dc, text.Suffix, left, area.right - left, area, format);
}

void AccessibleItemData::SetName(std::wstring text) {
  name = std::move(text);
  info.cchWText = static_cast<DWORD>(name.size());
  info.pszWText = name.data();
}

}  // namespace ui
