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
  const int bottom = (captionArea.top + captionArea.bottom + textHeight) / 2;
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
