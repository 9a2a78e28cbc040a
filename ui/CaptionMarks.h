// The marks under the characters of a caption that typing found: a bar under each range, in the
// text's own colour, so that it reads in every look and on the highlight as well.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>
#include <string>

namespace ui {

// Draws a bar under each range [first, second) of `caption`, which is drawn from the left of
// `captionArea`, cut at its right, centred vertically in lines of `textHeight`; `thickness` in
// pixels. `format` is the caption's prefix handling (0 or DT_HIDEPREFIX): '&' marks take no room.
void DrawCaptionMarks(HDC dc, const std::wstring& caption, const std::vector<std::pair<size_t, size_t>>& marks,
                      const RECT& captionArea, int textHeight, int thickness, UINT format);

}  // namespace ui
