#include "ui/CaptionMarks.h"

#include <algorithm>

namespace ui {
namespace {

// The width of the caption's first `length` characters as drawn.
int WidthOfStart(HDC dc, const std::wstring& caption, size_t length, UINT format) {
  if (length == 0) return 0;
  RECT rect{};
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(std::min(length, caption.size())), &rect,
              DT_SINGLELINE | DT_CALCRECT | format);
  return rect.right - rect.left;
}

}  // namespace

void DrawCaptionMarks(HDC dc, const std::wstring& caption, const std::vector<std::pair<size_t, size_t>>& marks,
                      const RECT& captionArea, int textHeight, int thickness, UINT format) {
  if (marks.empty()) return;
  // Just below the text's cell: kana fill the whole cell in some fonts, and a bar inside it would
  // read as struck through.
  const int bottom = std::min(static_cast<int>((captionArea.top + captionArea.bottom + textHeight) / 2) + 1 + thickness,
                              static_cast<int>(captionArea.bottom));
  ::SetDCBrushColor(dc, ::GetTextColor(dc));
  const auto brush = static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
  for (const auto& [first, second] : marks) {
    const int left = captionArea.left + WidthOfStart(dc, caption, first, format);
    const int right = std::min(captionArea.left + WidthOfStart(dc, caption, second, format), captionArea.right);
    if (right <= left) continue;
    const RECT bar{left, bottom - thickness, right, bottom};
    ::FillRect(dc, &bar, brush);
  }
}

}  // namespace ui
