// The keyboard choice in an owner-drawn menu, which the platform leaves to the owner window
// (WM_MENUCHAR): accelerators as '&' marks them, else the first letter of captions without one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// The character after the last single '&' ("&&" is a literal '&'); '\0' when there is none.
// A double-byte character is never read as '&'; one that follows '&' is returned as its lead byte.
char AcceleratorOf(const std::string& caption);

// What typed keys choose an item by, taken once from its 8-bit caption.
struct MenuKey {
  char accelerator = '\0';  // AcceleratorOf the caption
  char firstByte = '\0';    // the caption's first byte; chooses an item without an accelerator
};

MenuKey MenuKeyOf(const std::string& caption);

// The answer to WM_MENUCHAR: MNC_EXECUTE for exactly one match, MNC_SELECT of the next match after
// the highlighted item (or the first) for several, 0 (MNC_IGNORE) for none.
LRESULT AnswerMenuChar(char typed, const std::vector<MenuKey>& keys, int highlighted);

}  // namespace ui
